#include "PictureArchives.h"

#include <QDir>
#include <QFile>
#include <QMutexLocker>
#include <QProcess>
#include <algorithm>

#include "ChartPainter.h"
#include "GifWriter.h"
#include "archive/ArchivePassword.h"
#include "archive/EntryName.h"

QImage ScaledPreview(const QImage& picture) {
    if (picture.isNull() || picture.width() <= chart::kPreviewWidth) return picture;
    return picture.scaledToWidth(chart::kPreviewWidth, Qt::SmoothTransformation);
}

QByteArray PictureGif(const QImage& picture, int colors) {
    if (picture.isNull()) return {};
    return EncodeGif(QuantizeImage(picture, colors));
}

bool CPictureArchives::Put(const QString& archive, const QString& member, QByteArray bytes) {
    if (bytes.isEmpty()) return false;
    QMutexLocker lock(&m_mutex);
    return m_members[archive].emplace(member, std::move(bytes)).second;
}

bool CPictureArchives::Add(const QString& archive, const QString& member, const QImage& picture,
                           const QImage& preview, int colors) {
    QByteArray gif = PictureGif(picture, colors);
    // Previews are small and few-coloured: 128 colours keep their lines smooth.
    QByteArray previewGif = PictureGif(preview.isNull() ? ScaledPreview(picture) : preview, 128);
    if (gif.isEmpty() || previewGif.isEmpty()) return false;
    return Put(archive, member, std::move(gif))
           && Put(kPreviewArchive, member, std::move(previewGif));
}

bool CPictureArchives::AddWithoutPreview(const QString& archive, const QString& member,
                                         const QImage& picture, int colors) {
    return Put(archive, member, PictureGif(picture, colors));
}

int CPictureArchives::Count(const QString& archive) const {
    QMutexLocker lock(&m_mutex);
    auto it = m_members.find(archive);
    return it == m_members.end() ? 0 : int(it->second.size());
}

bool CPictureArchives::Has(const QString& archive, const QString& member) const {
    QMutexLocker lock(&m_mutex);
    auto it = m_members.find(archive);
    return it != m_members.end() && it->second.count(member) > 0;
}

QStringList CPictureArchives::Archives() const {
    QMutexLocker lock(&m_mutex);
    QStringList names;
    for (const auto& [archive, members] : m_members) names << archive;
    return names;
}

bool CPictureArchives::Write(const QString& dir, QString& error) const {
    QMutexLocker lock(&m_mutex);
    for (const auto& [archive, members] : m_members) {
        const QString staging = QDir(dir).filePath("." + archive + ".staging");
        QDir(staging).removeRecursively();
        if (!QDir().mkpath(staging)) {
            error = "cannot create " + staging;
            return false;
        }
        std::vector<QString> names;
        for (const auto& [member, bytes] : members) {
            QFile file(QDir(staging).filePath(member));
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
                error = file.fileName() + ": " + file.errorString();
                return false;
            }
            names.push_back(member);
        }
        std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
            return CompareEntryNames(a.toStdString(), b.toStdString()) < 0;
        });
        QByteArray list;
        for (const QString& name : names) list += name.toUtf8() + '\n';

        const QString target = QDir(dir).filePath(archive), temp = target + ".tmp.zip";
        QFile::remove(temp);
        QProcess zip;
        zip.setWorkingDirectory(staging);
        // -X: no extra fields (owner, times), so an unchanged picture gives the same bytes.
        zip.start("zip", {"-q", "-X", "-9", "-P", kArchivePassword, temp, "-@"});
        zip.write(list);
        zip.closeWriteChannel();
        if (!zip.waitForFinished(120000) || zip.exitStatus() != QProcess::NormalExit
            || zip.exitCode() != 0) {
            error = "zip " + archive + " failed: "
                    + QString::fromLocal8Bit(zip.readAllStandardError()) + zip.errorString();
            return false;
        }
        QFile::remove(target);
        if (!QFile::rename(temp, target)) {
            error = "cannot move " + temp + " to " + target;
            return false;
        }
        QDir(staging).removeRecursively();
    }
    return true;
}
