#include "platform/PdfOutput.h"
#include "platform/QtPlatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace
{

QImage sampleImage()
{
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return image;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The page of a one-page PDF is wider than high.
bool landscapePage(const QByteArray& pdf)
{
    const QRegularExpression box(R"(/MediaBox \[\s*0 0 ([\d.]+) ([\d.]+)\s*\])");
    const auto match = box.match(QString::fromLatin1(pdf));
    return match.hasMatch() && match.captured(1).toDouble() > match.captured(2).toDouble();
}

TEST(PdfOutput, AWrittenPdfIsWholeAndNeverReplacesAFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("WALK01 animation 1.pdf");
    EXPECT_EQ(writeImagePdf(sampleImage(), QPageLayout(), path), "");
    const QByteArray pdf = contents(path);
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));

    QFile earlier(dir.filePath("earlier.pdf"));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("EARLIER");
    earlier.close();
    EXPECT_NE(writeImagePdf(sampleImage(), QPageLayout(), earlier.fileName()), "");
    EXPECT_EQ(contents(earlier.fileName()), "EARLIER");
}

TEST(PdfOutput, AFailedWriteSaysWhyAndLeavesNoFile)
{
    QTemporaryDir dir;
    // A file system that takes only the first kilobyte, as a nearly full disk would.
    struct rlimit saved {
    };
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* const previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString cut = dir.filePath("cut.pdf");
    const QString reason = writeImagePdf(sampleImage(), QPageLayout(), cut);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_FALSE(QFile::exists(cut));

    const QString missingDir = dir.filePath("gone/x.pdf");
    EXPECT_FALSE(writeImagePdf(sampleImage(), QPageLayout(), missingDir).isEmpty());
    EXPECT_FALSE(QFile::exists(missingDir));
}

TEST(QtPrinting, WithoutAPrinterAPrintSaysWhereItWentOrWhyNot)
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "a printer is installed";
    QTemporaryDir dir;
    KeptPrinter kept;
    QtPrinter printer(&kept);
    const QString pdf = dir.filePath("RUN main window 1.pdf");
    EXPECT_EQ(printer.printImage(sampleImage(), pdf), "Printed to " + pdf);
    EXPECT_TRUE(contents(pdf).startsWith("%PDF-"));
    const QString again = printer.printImage(sampleImage(), pdf);
    EXPECT_TRUE(again.startsWith("Could not write " + pdf + ": ")) << again.toStdString();
}

TEST(QtPrinting, PrinterSetupIsNoPrintDialogAndLaterPrintsUseItsChoice)
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "a printer is installed";
    QTemporaryDir dir;
    KeptPrinter kept;
    QtDialogs dialogs(&kept);
    QtPrinter printer(&kept);
    QString title;
    QStringList buttons;
    bool turned = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        title = dialog->windowTitle();
        for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>())
            buttons << b->text();
        if (auto* landscape = dialog->findChild<QRadioButton*>("landscape")) {
            landscape->click();
            turned = true;
        }
        dialog->accept();
    });
    EXPECT_TRUE(dialogs.printerSetup());
    EXPECT_EQ(title, "Printer Setup");
    EXPECT_FALSE(buttons.contains("&Print") || buttons.contains("Print"));
    ASSERT_TRUE(turned);

    const QString pdf = dir.filePath("turned 1.pdf");
    EXPECT_EQ(printer.printImage(sampleImage(), pdf), "Printed to " + pdf);
    EXPECT_TRUE(landscapePage(contents(pdf)));
}

TEST(QtDialogs, BoxesAreCentredOnTheMainWindowWhenNoWindowIsActive)
{
    QWidget main;
    main.setObjectName("frmOrvane");
    main.setAttribute(Qt::WA_ShowWithoutActivating);
    main.resize(300, 200);
    main.show();
    QtDialogs dialogs;
    struct Seen {
        QWidget* parent = nullptr;
        bool shown = false;
    };
    const auto closeWhenShown = [](Seen& seen) {
        QTimer::singleShot(0, [&seen] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog)
                return;
            seen.shown = true;
            seen.parent = dialog->parentWidget();
            if (auto* d = qobject_cast<QDialog*>(dialog))
                d->reject();
        });
    };
    Seen file, box;
    closeWhenShown(file);
    FileDialogRequest request;
    request.initialDir = QDir::tempPath();
    EXPECT_FALSE(dialogs.openFile(request).has_value());
    closeWhenShown(box);
    dialogs.message("After the file dialog", {}, MessageIcon::Exclamation, MessageButtons::OK);
    for (const Seen* seen : {&file, &box}) {
        EXPECT_TRUE(seen->shown);
        EXPECT_EQ(seen->parent, &main);
    }
}

} // namespace
