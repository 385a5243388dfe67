// The intro film ZYB2004.nox: the intro picture's globe turning from the Americas towards
// Europe, coming to rest where the picture has it and taking on the picture's title, so
// the picture that stays on screen after the film continues it without a jump. Drawn frame
// by frame and encoded with ffmpeg as H.264 in MP4, which the toolkit's FFmpeg media
// backend plays.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <algorithm>
#include <cmath>
#include <thread>

#include "EditionBuild.h"
#include "Globe.h"

namespace edition {

namespace {

constexpr int kFilmFps = 25;
constexpr int kFilmFrames = 125;  // five seconds
// Where the turn starts: over the Americas, a little lower and further away.
constexpr double kStartLon = -100, kStartLat = 4;
constexpr double kStartRadius = 150;
constexpr double kFadeIn = 0.8;     // seconds from black
constexpr double kTurnEnd = 3.8;    // the globe rests from here
constexpr double kTitleFrom = 3.3;  // the picture with its title fades in
constexpr double kTitleLength = 1.0;

double Smooth(double t) {
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

double EaseInOut(double t) {
    t = std::clamp(t, 0.0, 1.0);
    return t < 0.5 ? 4 * t * t * t : 1 - std::pow(-2 * t + 2, 3) / 2;
}

QImage Frame(int index, const QImage& picture, const skin::GlobeLook& look) {
    const double t = double(index) / kFilmFps;
    QImage frame(skin::kIntroSize, QImage::Format_RGB32);
    frame.fill(Qt::black);
    QPainter p(&frame);
    p.setRenderHint(QPainter::Antialiasing);
    const double turn = EaseInOut(t / kTurnEnd);
    skin::PaintIntroSky(p, frame.rect());
    skin::PaintGlobe(p, skin::kIntroGlobeCentre,
                     kStartRadius + (skin::kIntroGlobeRadius - kStartRadius) * turn,
                     kStartLon + (skin::kIntroLon - kStartLon) * turn,
                     kStartLat + (skin::kIntroLat - kStartLat) * turn, look);
    const double title = Smooth((t - kTitleFrom) / kTitleLength);
    if (title > 0) {
        p.setOpacity(title);
        p.drawImage(0, 0, picture);
        p.setOpacity(1);
    }
    const double light = Smooth(t / kFadeIn);
    if (light < 1) p.fillRect(frame.rect(), QColor(0, 0, 0, int(std::lround(255 * (1 - light)))));
    p.end();
    return frame;
}

}  // namespace

bool CEditionBuild::BuildFilm() {
    QElapsedTimer clock;
    clock.start();
    const QImage picture = QImage(":/bitmaps/268.png").convertToFormat(QImage::Format_RGB32);
    if (picture.size() != skin::kIntroSize) {
        m_result.error = "the intro picture (bitmap 268) is missing from the builder";
        return false;
    }
    const QString film = Out("ZYB2004.nox"), temp = film + ".tmp.mp4";
    QFile::remove(temp);
    const QSize size = skin::kIntroSize;
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    ffmpeg.start("ffmpeg",
                 {"-hide_banner", "-loglevel", "error", "-y",
                  // The frames as they come from the painter: 32-bit BGRX rows.
                  "-f", "rawvideo", "-pix_fmt", "bgr0", "-s",
                  QString("%1x%2").arg(size.width()).arg(size.height()), "-r",
                  QString::number(kFilmFps), "-i", "pipe:0", "-an",
                  // Studio-range BT.709, tagged, so every player shows the blues the painter drew.
                  "-vf", "scale=out_color_matrix=bt709:out_range=tv,format=yuv420p", "-c:v",
                  "libx264", "-preset", "slow", "-crf", "20", "-tune", "animation", "-profile:v",
                  "high", "-colorspace", "bt709", "-color_primaries", "bt709", "-color_trc",
                  "bt709", "-color_range", "tv", "-movflags", "+faststart", "-fflags", "+bitexact",
                  "-map_metadata", "-1", "-f", "mp4", temp});
    if (!ffmpeg.waitForStarted(30000)) {
        m_result.error
            = "ffmpeg does not start (scripts/setup installs it): " + ffmpeg.errorString();
        return false;
    }
    // Frames are drawn a few at a time on every core and handed over in order.
    const skin::GlobeLook look = skin::IntroGlobeLook();
    const int batch = std::max(2, 2 * int(std::thread::hardware_concurrency()));
    bool written = true;
    for (int first = 0; first < kFilmFrames && written; first += batch) {
        const int count = std::min(batch, kFilmFrames - first);
        std::vector<QImage> frames(count);
        std::vector<std::thread> painters;
        const int threads = std::max(1, int(std::thread::hardware_concurrency()));
        for (int t = 0; t < threads; ++t) {
            painters.emplace_back([&, t] {
                for (int i = t; i < count; i += threads)
                    frames[i] = Frame(first + i, picture, look);
            });
        }
        for (std::thread& thread : painters) thread.join();
        for (const QImage& frame : frames) {
            const qint64 bytes = qint64(frame.sizeInBytes());
            if (ffmpeg.write(reinterpret_cast<const char*>(frame.constBits()), bytes) != bytes) {
                written = false;
                break;
            }
            while (ffmpeg.bytesToWrite() > 0 && ffmpeg.state() == QProcess::Running) {
                ffmpeg.waitForBytesWritten(30000);
            }
        }
    }
    ffmpeg.closeWriteChannel();
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitStatus() != QProcess::NormalExit
        || ffmpeg.exitCode() != 0 || !written) {
        m_result.error = "ffmpeg could not encode the intro film: " + ffmpeg.errorString();
        QFile::remove(temp);
        return false;
    }
    QFile::remove(film);
    if (!QFile::rename(temp, film)) {
        m_result.error = "cannot move " + temp + " to " + film;
        return false;
    }
    Log(QString("intro film of %1 frames in %2 ms").arg(kFilmFrames).arg(clock.elapsed()));
    return true;
}

}  // namespace edition
