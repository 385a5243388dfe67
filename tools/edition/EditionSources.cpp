#include "EditionSources.h"

#include <QFile>
#include <QRegularExpression>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

QStringList SplitCsvLine(const QString& line) {
    QStringList fields;
    QString field;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        QChar c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    return fields;
}

// Protocol buffer wire format, as far as the city list uses it.
class CPbfReader {
public:
    CPbfReader(const uchar* data, qsizetype size) : m_data(data), m_end(data + size) {}
    bool AtEnd() const { return m_data >= m_end; }
    bool Varint(std::uint64_t& value) {
        value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (m_data >= m_end) return false;
            uchar b = *m_data++;
            value |= std::uint64_t(b & 0x7F) << shift;
            if (!(b & 0x80)) return true;
        }
        return false;
    }
    bool SVarint(std::int64_t& value) {
        std::uint64_t raw = 0;
        if (!Varint(raw)) return false;
        value = std::int64_t(raw >> 1) ^ -std::int64_t(raw & 1);
        return true;
    }
    bool Bytes(const uchar*& data, std::uint64_t& length) {
        if (!Varint(length) || length > std::uint64_t(m_end - m_data)) return false;
        data = m_data;
        m_data += length;
        return true;
    }
    bool Skip(int wireType) {
        std::uint64_t value = 0;
        const uchar* data = nullptr;
        switch (wireType) {
            case 0:
                return Varint(value);
            case 1:
                return Advance(8);
            case 2:
                return Bytes(data, value);
            case 5:
                return Advance(4);
            default:
                return false;
        }
    }

private:
    bool Advance(qsizetype n) {
        if (m_end - m_data < n) return false;
        m_data += n;
        return true;
    }
    const uchar* m_data;
    const uchar* m_end;
};

}  // namespace

bool ReadCsvFile(const QString& path, CCsvTable& table, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + ": " + file.errorString();
        return false;
    }
    bool haveHeader = false;
    while (!file.atEnd()) {
        QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        if (!haveHeader) {
            table.header = SplitCsvLine(line);
            haveHeader = true;
        } else {
            table.rows << SplitCsvLine(line);
        }
    }
    if (!haveHeader) error = path + ": no header line";
    return haveHeader;
}

std::optional<double> CsvNumber(const QString& field) {
    bool ok = false;
    double value = field.toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

QHash<QByteArray, QString> ReadMoFile(const QString& path) {
    QHash<QByteArray, QString> result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return result;
    QByteArray bytes = file.readAll();
    auto word = [&](qsizetype offset, std::uint32_t& value) {
        if (offset < 0 || offset + 4 > bytes.size()) return false;
        std::memcpy(&value, bytes.constData() + offset, 4);
        return true;
    };
    std::uint32_t magic = 0, count = 0, originals = 0, translations = 0;
    // Magic number in the machine's byte order (catalogues of this system are little-endian).
    if (!word(0, magic) || magic != 0x950412deu) return result;
    if (!word(8, count) || !word(12, originals) || !word(16, translations)) return result;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t oLength = 0, oOffset = 0, tLength = 0, tOffset = 0;
        if (!word(originals + 8 * qsizetype(i), oLength)
            || !word(originals + 8 * qsizetype(i) + 4, oOffset)
            || !word(translations + 8 * qsizetype(i), tLength)
            || !word(translations + 8 * qsizetype(i) + 4, tOffset)) {
            break;
        }
        if (qsizetype(oOffset) + oLength > bytes.size()
            || qsizetype(tOffset) + tLength > bytes.size()) {
            break;
        }
        if (oLength == 0 || tLength == 0) continue;
        result.insert(bytes.mid(oOffset, oLength),
                      QString::fromUtf8(bytes.constData() + tOffset, tLength));
    }
    return result;
}

bool ReadCapitals(const QString& path, QList<CCity>& capitals, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + ": " + file.errorString();
        return false;
    }
    QByteArray bytes = file.readAll();
    CPbfReader reader(reinterpret_cast<const uchar*>(bytes.constData()), bytes.size());
    // Coordinates are deltas to the previous city, in 1e-5 degrees.
    std::int64_t lastLon = 0, lastLat = 0;
    while (!reader.AtEnd()) {
        const uchar* message = nullptr;
        std::uint64_t length = 0;
        if (!reader.Bytes(message, length)) {
            error = path + ": damaged city list";
            return false;
        }
        CPbfReader fields(message, qsizetype(length));
        CCity city;
        while (!fields.AtEnd()) {
            std::uint64_t key = 0;
            if (!fields.Varint(key)) {
                error = path + ": damaged city record";
                return false;
            }
            int tag = int(key >> 3), wireType = int(key & 7);
            const uchar* text = nullptr;
            std::uint64_t textLength = 0, number = 0;
            std::int64_t signedNumber = 0;
            bool ok = true;
            if (wireType == 2 && (tag == 2 || tag == 3 || tag == 7)) {
                ok = fields.Bytes(text, textLength);
                QString value
                    = QString::fromUtf8(reinterpret_cast<const char*>(text), qsizetype(textLength));
                if (tag == 2) city.name = value;
                if (tag == 3) city.country = value;
                if (tag == 7) city.featureCode = value;
            } else if (wireType == 0 && tag == 1) {
                ok = fields.SVarint(signedNumber);
                city.geonameId = signedNumber;
            } else if (wireType == 0 && tag == 9) {
                ok = fields.Varint(number);
                city.population = qint64(number);
            } else if (wireType == 0 && tag == 10) {
                ok = fields.SVarint(signedNumber);
                lastLon += signedNumber;
            } else if (wireType == 0 && tag == 11) {
                ok = fields.SVarint(signedNumber);
                lastLat += signedNumber;
            } else {
                ok = fields.Skip(wireType);
            }
            if (!ok) {
                error = path + ": damaged city record";
                return false;
            }
        }
        city.lon = double(lastLon) / 1e5;
        city.lat = double(lastLat) / 1e5;
        if (city.featureCode == "PPLC" || city.featureCode == "PPLG") capitals << city;
    }
    return true;
}

QHash<QString, QStringList> ReadCldrGroups(const QString& path) {
    QHash<QString, QStringList> groups;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return groups;
    static const QRegularExpression group(
        "<group type=\"([A-Z0-9]+)\" contains=\"([A-Z0-9 ]+)\"([^>]*)/>");
    const QString text = QString::fromUtf8(file.readAll());
    auto it = group.globalMatch(text);
    while (it.hasNext()) {
        auto m = it.next();
        // The deprecated variants of a group come after its current one.
        if (m.captured(3).contains("deprecated") || groups.contains(m.captured(1))) continue;
        groups.insert(m.captured(1), m.captured(2).split(' ', Qt::SkipEmptyParts));
    }
    return groups;
}

QList<CCalendarEntry> ReadCalendarFile(const QString& path) {
    QList<CCalendarEntry> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return entries;
    static const QRegularExpression dated("^(\\d\\d)(?:/(\\d\\d))?\\s+(.*)$");
    static const QRegularExpression year(",\\s*(\\d{3,4})\\s*$");
    bool comment = false;
    for (const QString& raw : QString::fromUtf8(file.readAll()).split('\n')) {
        QString line = raw;
        if (comment) {
            if (line.contains("*/")) comment = false;
            continue;
        }
        if (line.trimmed().startsWith("/*")) {
            comment = !line.contains("*/");
            continue;
        }
        if (line.startsWith('#') || line.startsWith("LANG=") || line.trimmed().isEmpty()) continue;
        if (line.front().isSpace()) {
            if (!entries.isEmpty()) entries.last().text += ' ' + line.trimmed();
            continue;
        }
        auto m = dated.match(line);
        if (!m.hasMatch()) continue;
        CCalendarEntry entry;
        entry.month = m.captured(1).toInt();
        entry.day = m.captured(2).toInt();
        entry.text = m.captured(3).trimmed();
        entries << entry;
    }
    // The year stands at the end of the whole entry, after its continuation lines.
    for (CCalendarEntry& entry : entries) {
        entry.text = entry.text.simplified();
        auto m = year.match(entry.text);
        if (m.hasMatch()) {
            entry.year = m.captured(1).toInt();
            entry.text = entry.text.left(m.capturedStart()).trimmed();
        }
    }
    return entries;
}
