// The message boxes and the save dialog as the window program shows them (offscreen): in the
// skin, with German buttons and the design's answers to keys, and the save dialog's folder.
#include "platform/ui/QtDialogs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "platform/TestFiles.h"

namespace {

// Runs action on the next modal window once it is up; fails the test when none comes.
void WhenModal(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    auto* tries = new int(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && ++*tries < 300) return;
        timer->stop();
        timer->deleteLater();
        delete tries;
        if (!modal) {
            ADD_FAILURE() << "no dialog came up";
            return;
        }
        action(modal);
    });
    timer->start(10);
}

QStringList ButtonTexts(QWidget* box) {
    QStringList texts;
    for (auto* button : box->findChildren<QPushButton*>()) texts << button->text();
    return texts;
}

QPushButton* Button(QWidget* box, const QString& text) {
    for (auto* button : box->findChildren<QPushButton*>()) {
        if (button->text() == text) return button;
    }
    return nullptr;
}

}  // namespace

TEST(QtDialogs, MessageBoxInTheSkinAnswersByButtonAndKey) {
    CQtMessagePresenter presenter;
    const MessageBoxRequest question{"Möchten Sie die Tabelle wirklich schließen?", kCaptionHinweis,
                                     MsgIcon::Information, MsgButtons::YesNo, 0};

    // The look: a frameless box with its caption in the caption bar, the skin's body colour
    // and font, German buttons, the first one the default.
    WhenModal([](QWidget* box) {
        EXPECT_TRUE(box->windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_EQ(box->windowTitle(), QStringLiteral("H I N W E I S"));
        EXPECT_EQ(box->palette().color(QPalette::Window), QColor(173, 186, 206));
        EXPECT_EQ(box->font().family(), QStringLiteral("MS Sans Serif"));
        auto* text = box->findChild<QLabel*>(QStringLiteral("text"));
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->text(), QStringLiteral("Möchten Sie die Tabelle wirklich schließen?"));
        EXPECT_EQ(ButtonTexts(box), (QStringList{"Ja", "Nein"}));
        EXPECT_TRUE(Button(box, "Ja")->isDefault());
        // The caption bar is painted in the caption blue.
        const QImage shot = box->grab().toImage();
        EXPECT_EQ(shot.pixelColor(shot.width() - 4, 13).blue() > 120, true);
        QTest::mouseClick(Button(box, "Nein"), Qt::LeftButton);
    });
    EXPECT_EQ(presenter.ShowMessage(question), IDNO);

    // Return takes the default button; Escape answers No, Cancel, or OK on a box with OK alone.
    WhenModal([](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); });
    EXPECT_EQ(presenter.ShowMessage(question), IDYES);
    WhenModal([](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(presenter.ShowMessage(question), IDNO);
    WhenModal([](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(presenter.ShowMessage({"Fehler", kCaptionFehler, MsgIcon::Stop, MsgButtons::Ok, 0}),
              IDOK);
    WhenModal([](QWidget* box) {
        EXPECT_EQ(ButtonTexts(box), (QStringList{"Ja", "Nein", "Abbrechen"}));
        EXPECT_TRUE(Button(box, "Abbrechen")->isDefault());
        QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_EQ(presenter.ShowMessage({"?", "", MsgIcon::Question, MsgButtons::YesNoCancel, 2}),
              IDCANCEL);
}

TEST(QtDialogs, SaveDialogInTheSkinOpensInTheDocumentsThenWhereTheUserSaved) {
    CTempDir dir;
    const std::string documents = dir / "Dokumente";
    std::filesystem::create_directories(documents);
    std::filesystem::create_directories(dir / "config");
    WriteFile(dir / "config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"" + documents + "\"\n");
    CScopedEnv config("XDG_CONFIG_HOME", (dir / "config").c_str());
    std::filesystem::create_directories(dir / "Tabellen");
    ForgetSaveFolder();
    CQtMessagePresenter presenter;
    SetMessagePresenter(&presenter);
    const SaveDialogRequest request{"", "ZYB.htm", "htm", "HTML Datei (*.htm)|*.htm||", true};

    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(dialog->palette().color(QPalette::Window), QColor(173, 186, 206));
        EXPECT_EQ(dialog->directory().absolutePath(),
                  QDir(QString::fromStdString(documents)).absolutePath());
        EXPECT_EQ(dialog->nameFilters(), QStringList{"HTML Datei (*.htm)"});
        dialog->selectFile(QString::fromStdString(dir / "Tabellen/Europa.htm"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    EXPECT_EQ(RunSaveFileDialog(request), dir / "Tabellen/Europa.htm");

    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->directory().absolutePath(),
                  QDir(QString::fromStdString(dir / "Tabellen")).absolutePath());
        dialog->reject();
    });
    EXPECT_FALSE(RunSaveFileDialog(request));
    SetMessagePresenter(nullptr);
    ForgetSaveFolder();
}

TEST(QtDialogs, MessageBoxStaysOnTheScreenOverAWindowAtItsEdge) {
    QWidget owner;
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    owner.setGeometry(screen.right() - 120, screen.bottom() - 60, 200, 100);
    owner.show();
    owner.activateWindow();
    QApplication::setActiveWindow(&owner);
    CQtMessagePresenter presenter;
    WhenModal([screen](QWidget* box) {
        EXPECT_TRUE(screen.contains(box->frameGeometry())) << box->frameGeometry().x() << ","
                                                           << box->frameGeometry().y();
        QTest::keyClick(box, Qt::Key_Return);
    });
    presenter.ShowMessage({"Möchten Sie wirklich alle Lesezeichen löschen?", kCaptionHinweis,
                           MsgIcon::Information, MsgButtons::YesNo, 0});
}
