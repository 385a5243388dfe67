#pragma once
// One print of a browser wrapper while it runs: the page setup it wrote (put back when the
// job goes), the printer and its dialog, or the PDF file of a scripted run.

#include <QByteArray>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <memory>
#include <optional>
#include <string>

#include "text/PageSetup.h"

struct CBrowserPrintJob {
    ~CBrowserPrintJob() {
        // The dialog works on the printer: it goes first.
        delete dialog.data();
    }

    std::unique_ptr<CPageSetupScope> setup;
    CPageFields fields;
    std::unique_ptr<QPrinter> printer;
    QPointer<QPrintDialog> dialog;
    // Where a scripted run writes its printout.
    std::optional<std::string> pdfPath;
};

// Draws the header and footer lines of setup (their codes expanded for each page) into the
// margins of every page of pdf and returns the new document; nothing when pdf cannot be read.
std::optional<QByteArray> StampPageLines(const QByteArray& pdf, const CPageSetup& setup,
                                         CPageFields fields);
