#pragma once
// The picture archives of the edition: Graph.nox, Tables.nox and Geo.nox, and Previews.nox
// with the gallery's preview of every picture record. The steps that draw pictures hand
// each one over here; the archives are written once at the end of the build.

#include <QByteArray>
#include <QImage>
#include <QMutex>
#include <QString>
#include <map>

inline constexpr const char* kPreviewArchive = "Previews.nox";

class CPictureArchives {
public:
    // Adds picture as the GIF member `member` of `archive` (a file name in the edition's
    // picture folder), reduced to at most colors colours. Its preview goes into
    // Previews.nox under the same name: the one given, or the picture scaled down to
    // chart::kPreviewWidth pixels wide when preview is null. May be called from several
    // threads at once. False when the picture is empty or the member was added before.
    bool Add(const QString& archive, const QString& member, const QImage& picture,
             const QImage& preview = QImage(), int colors = 256);
    // The same without a preview, for pictures that the gallery does not list (the country
    // maps of Geo.nox).
    bool AddWithoutPreview(const QString& archive, const QString& member, const QImage& picture,
                           int colors = 256);

    // Members of an archive so far, and whether it has one.
    int Count(const QString& archive) const;
    bool Has(const QString& archive, const QString& member) const;

    // Writes every archive that has members into dir with Info-ZIP: traditional encryption
    // under the archive password, deflate, members in the order of their names ignoring
    // case (so the reader finds them by bisection). Each archive is built beside its place
    // and renamed into it. False with error set when zip fails.
    bool Write(const QString& dir, QString& error) const;

    // The archives Write writes (for the builder's output check).
    QStringList Archives() const;

private:
    bool Put(const QString& archive, const QString& member, QByteArray bytes);

    mutable QMutex m_mutex;
    std::map<QString, std::map<QString, QByteArray>> m_members;  // archive, member, GIF
};

// The picture reduced to the preview width for the gallery, keeping its proportions.
QImage ScaledPreview(const QImage& picture);

// The picture as a GIF of at most colors colours (median cut, no dithering).
QByteArray PictureGif(const QImage& picture, int colors);
