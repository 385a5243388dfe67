#include "controls/Template.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSet>

#include <algorithm>
#include <cctype>

namespace {

const QStringList kSkinnedKinds
    = {QStringLiteral("image"), QStringLiteral("push"), QStringLiteral("check"),
       QStringLiteral("static"), QStringLiteral("progress")};
const QStringList kPlainKinds = {QStringLiteral("edit"), QStringLiteral("list"),
                                 QStringLiteral("tree"), QStringLiteral("area")};

// A skin folder as the loader joins it: "/" for "\", one trailing "/".
QString FolderPath(QString folder) {
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

bool IsColorText(const QJsonValue& value) {
    const QString text = value.toString();
    if (!value.isString() || text.size() != 6) return false;
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() < 0x80 && isxdigit(static_cast<unsigned char>(c.toLatin1()));
    });
}

// Reads one control; false with the fault (without the template's name) in error.
bool ParseControl(const QJsonObject& object, const QString& windowSkin, CTemplateControl& out,
                  QString& error) {
    // Control id: a positive integer
    const QJsonValue id = object.value(QLatin1String("id"));
    if (!id.isDouble() || id.toDouble() != double(id.toInt()) || id.toInt() <= 0) {
        error = QStringLiteral("ein Steuerelement hat keine gültige Kennung (\"id\")");
        return false;
    }
    out.id = id.toInt();
    const QString name = QStringLiteral("Steuerelement %1").arg(out.id);

    // Kind: one of the control set's or a plain control
    out.kind = object.value(QLatin1String("kind")).toString();
    if (!kSkinnedKinds.contains(out.kind) && !kPlainKinds.contains(out.kind)) {
        error = QStringLiteral("%1 hat die unbekannte Art \"%2\"")
                    .arg(name, object.value(QLatin1String("kind")).toVariant().toString());
        return false;
    }

    // Rectangle: x, y, width, height in pixels
    const QJsonArray rect = object.value(QLatin1String("rect")).toArray();
    if (rect.size() != 4 || std::any_of(rect.begin(), rect.end(), [](const QJsonValue& v) {
            return !v.isDouble();
        })) {
        error = QStringLiteral("%1 hat kein gültiges Rechteck (\"rect\": [x, y, Breite, Höhe])")
                    .arg(name);
        return false;
    }
    out.rect = QRect(rect[0].toInt(), rect[1].toInt(), rect[2].toInt(), rect[3].toInt());
    if (out.rect.width() <= 0 || out.rect.height() <= 0) {
        error = QStringLiteral("%1 hat eine leere Größe").arg(name);
        return false;
    }

    // Skin folder: the control's own, else the window's
    out.skin = object.contains(QLatin1String("skin"))
                   ? FolderPath(object.value(QLatin1String("skin")).toString())
                   : windowSkin;

    // Anchor: how the control follows a window of another width
    const QString anchor = object.value(QLatin1String("anchor")).toString(QStringLiteral("left"));
    if (anchor == QLatin1String("left")) {
        out.anchor = CTemplateAnchor::Left;
    } else if (anchor == QLatin1String("right")) {
        out.anchor = CTemplateAnchor::Right;
    } else if (anchor == QLatin1String("stretch")) {
        out.anchor = CTemplateAnchor::Stretch;
    } else {
        error = QStringLiteral("%1 hat die unbekannte Verankerung \"%2\"").arg(name, anchor);
        return false;
    }

    out.enabled = object.value(QLatin1String("enabled")).toBool(true);

    // Bitmap name: required where the control shows skin bitmaps
    if (out.kind == QLatin1String("image") || out.kind == QLatin1String("push")
        || out.kind == QLatin1String("check")) {
        if (object.value(QLatin1String("bitmap")).toString().isEmpty()) {
            error = QStringLiteral("%1 nennt keine Bilddatei (\"bitmap\")").arg(name);
            return false;
        }
    }

    // Colours: six hexadecimal digits each
    for (const char* key : {"back", "textColor"}) {
        if (object.contains(QLatin1String(key)) && !IsColorText(object.value(QLatin1String(key)))) {
            error
                = QStringLiteral("%1: \"%2\" ist keine Farbe RRGGBB").arg(name, QLatin1String(key));
            return false;
        }
    }
    if (object.contains(QLatin1String("colors"))) {
        const QJsonArray colors = object.value(QLatin1String("colors")).toArray();
        const qsizetype wanted = out.kind == QLatin1String("static") ? 3 : 4;
        if (colors.size() != wanted || !std::all_of(colors.begin(), colors.end(), IsColorText)) {
            error = QStringLiteral("%1: \"colors\" braucht %2 Farben RRGGBB").arg(name).arg(wanted);
            return false;
        }
    }

    out.properties = object;
    return true;
}

// Reads the whole template; false with the fault (without the template's name) in error.
bool ParseTemplate(const QByteArray& json, int number, CWindowTemplate& out, QString& error) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        error = QStringLiteral("%1 bei Zeichen %2")
                    .arg(parseError.errorString())
                    .arg(parseError.offset);
        return false;
    }
    if (!document.isObject()) {
        error = QStringLiteral("kein JSON-Objekt");
        return false;
    }
    const QJsonObject root = document.object();

    out = CWindowTemplate();
    out.number = number;

    // Template number: must be the one asked for (the file name)
    const QJsonValue declared = root.value(QLatin1String("template"));
    if (!declared.isUndefined() && declared.toInt(-1) != number) {
        error = QStringLiteral("sie trägt die Nummer %1").arg(declared.toVariant().toString());
        return false;
    }

    // Names and skin folder
    out.name = root.value(QLatin1String("name")).toString();
    out.title = root.value(QLatin1String("title")).toString();
    out.skin = FolderPath(root.value(QLatin1String("skin")).toString());

    // Window size in pixels
    const QJsonArray size = root.value(QLatin1String("size")).toArray();
    if (size.size() != 2 || size[0].toInt() <= 0 || size[1].toInt() <= 0) {
        error = QStringLiteral("keine gültige Fenstergröße (\"size\": [Breite, Höhe])");
        return false;
    }
    out.size = QSize(size[0].toInt(), size[1].toInt());

    // Controls, each id once
    const QJsonValue controls = root.value(QLatin1String("controls"));
    if (!controls.isArray()) {
        error = QStringLiteral("die Liste der Steuerelemente (\"controls\") fehlt");
        return false;
    }
    QSet<int> ids;
    for (const QJsonValue& value : controls.toArray()) {
        if (!value.isObject()) {
            error = QStringLiteral("ein Eintrag der Steuerelemente ist kein Objekt");
            return false;
        }
        CTemplateControl control;
        if (!ParseControl(value.toObject(), out.skin, control, error)) return false;
        if (ids.contains(control.id)) {
            error = QStringLiteral("die Kennung %1 ist doppelt vergeben").arg(control.id);
            return false;
        }
        ids.insert(control.id);
        out.controls.push_back(std::move(control));
    }
    return true;
}

}  // namespace

QString CTemplateControl::Text(const char* key, const QString& fallback) const {
    return properties.value(QLatin1String(key)).toString(fallback);
}

bool CTemplateControl::IsSkinned() const { return kSkinnedKinds.contains(kind); }

const CTemplateControl* CWindowTemplate::Find(int id) const {
    for (const CTemplateControl& control : controls)
        if (control.id == id) return &control;
    return nullptr;
}

bool ParseWindowTemplate(const QByteArray& json, int number, const QString& source,
                         CWindowTemplate& out, QString& error) {
    QString fault;
    if (ParseTemplate(json, number, out, fault)) return true;
    error = QStringLiteral("Die Fenstervorlage %1 (%2) ist fehlerhaft: %3.")
                .arg(number)
                .arg(source, fault);
    return false;
}

QString TemplateResourcePath(int number) {
    return QStringLiteral(":/templates/%1.json").arg(number);
}

bool LoadWindowTemplate(int number, CWindowTemplate& out, QString& error) {
    const QString path = TemplateResourcePath(number);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Die Fenstervorlage %1 (%2) ist nicht vorhanden.")
                    .arg(number)
                    .arg(path);
        return false;
    }
    return ParseWindowTemplate(file.readAll(), number, path, out, error);
}

QList<int> BuiltInTemplates() {
    QList<int> numbers;
    const QStringList files
        = QDir(QStringLiteral(":/templates")).entryList({QStringLiteral("*.json")}, QDir::Files);
    for (const QString& file : files) {
        bool ok = false;
        const int number = file.chopped(5).toInt(&ok);
        if (ok) numbers.append(number);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}
