// The import window and the main window's import: plates listed, the largest
// proposed, the force file written, chosen and read; failures write nothing.

#include "C3dTestFiles.h"
#include "core/SharedState.h"
#include "fakes/FakePlatform.h"
#include "forcedata/c3d/frmImportC3D.h"
#include "main/frmOrvane.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QTemporaryDir>
#include <QUrl>

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace
{

class ImportC3D : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        startDir = QDir::currentPath();
        s.ProgramDir = tmp.path();
        s.LF = "\n";
        write("trial.c3d", c3dtest::twoPlates(10));
        const std::string whole = c3dtest::twoPlates(10);
        write("cut.c3d", whole.substr(0, whole.size() - 400));
        window = std::make_unique<frmOrvane>(s, fp.platform());
        ASSERT_TRUE(window->enterDataDirectory(tmp.path()));
    }
    void TearDown() override
    {
        window.reset();
        QDir::setCurrent(startDir);
    }
    void write(const char* name, const std::string& bytes)
    {
        std::ofstream(tmp.filePath(name).toStdString(), std::ios::binary) << bytes;
    }

    QTemporaryDir tmp;
    QString startDir;
    SharedState s;
    FakePlatform fp;
    std::unique_ptr<frmOrvane> window;
};

} // namespace

TEST_F(ImportC3D, TheLargestPlateIsWrittenChosenAndRead)
{
    fp.dialogs.fileAnswers.push_back(tmp.filePath("trial.c3d"));
    window->mnuImportC3D_Click();
    auto* dialog = window->findChild<frmImportC3D*>();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->lstPlates->count(), 2);
    EXPECT_EQ(dialog->lstPlates->currentRow(), 1);
    // Each row says where the plate lies and how large it is (the file's mm as m).
    EXPECT_EQ(dialog->lstPlates->item(1)->text(),
              "Plate 2   type 2   10 samples   1000 Hz   peak Fz 350.0 N at 0.000 s   "
              "centre 0.80, 0.20 m   0.40 x 0.60 m");
    EXPECT_EQ(dialog->lblPlate->text(),
              "Plate 2: type 2, force and moments (6 channels)\n"
              "Centre x 0.800 m, y 0.200 m, z 0.000 m (laboratory axes, Z up); 0.400 m by 0.600 m\n"
              "Peak Fz 350.0 N at 0.000 s (sample 1)\n"
              "Signs: plate 2: the channels give the load on the plate (the largest vertical load, "
              "350 N over the whole recording, points down); the signs are turned");
    EXPECT_EQ(dialog->lblRecords->text(), "10 samples at 1000 Hz are written as 10 records.");
    EXPECT_EQ(dialog->txtOutput->text(), "TRIAL_P2.RF");
    // The file gives no unit of length: the window says how the corners were read.
    EXPECT_TRUE(dialog->lblNote->text().endsWith("read as mm"))
        << dialog->lblNote->text().toStdString();
    dialog->lstPlates->setCurrentRow(0);
    EXPECT_EQ(dialog->txtOutput->text(), "TRIAL.RF");
    dialog->lstPlates->setCurrentRow(1);

    ASSERT_TRUE(dialog->cmdImport_Click());
    EXPECT_TRUE(QFile::exists(tmp.filePath("TRIAL_P2.RF")));
    EXPECT_EQ(s.ForceFile, "TRIAL_P2.RF");
    EXPECT_EQ(s.LoadedForceFile, "TRIAL_P2.RF");
    EXPECT_EQ(s.forces.RecordCount, 10);
    EXPECT_NEAR(s.forces.Fz[1], 350, 0.01);
    ASSERT_NE(window->filForces->currentItem(), nullptr);
    EXPECT_EQ(window->filForces->currentItem()->text(), "TRIAL_P2.RF");
    ASSERT_EQ(fp.dialogs.shown.size(), 1u);
    EXPECT_EQ(fp.dialogs.shown[0].kind, ShownBox::OpenFile);
    EXPECT_EQ(fp.dialogs.shown[0].request.initialDir, s.DataDir);
    for (const auto& box : fp.dialogs.shown)
        if (box.kind != ShownBox::OpenFile)
            ADD_FAILURE() << box.title.toStdString() << ": " << box.text.toStdString();
    fp.dialogs.shown.clear();

    // The same name again: the file stays as it is and the user hears why.
    const QByteArray before = [&] {
        QFile f(tmp.filePath("TRIAL_P2.RF"));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    EXPECT_FALSE(dialog->cmdImport_Click());
    ASSERT_EQ(fp.dialogs.shown.size(), 1u);
    EXPECT_TRUE(fp.dialogs.shown.back().text.contains("exists already"));
    QFile f(tmp.filePath("TRIAL_P2.RF"));
    f.open(QIODevice::ReadOnly);
    EXPECT_EQ(f.readAll(), before);
}

TEST_F(ImportC3D, AFileThatCannotBeImportedNamesTheReasonAndWritesNothing)
{
    const struct {
        const char* file;
        const char* reason;
    } cases[] = {{"cut.c3d", "data section"},
                 {"missing.c3d", "File not found"},
                 {"pipe.c3d", "Path/File access error"},
                 {"folder.c3d", "Path/File access error"}};
    // A pipe must not freeze the program waiting for a writer.
    ASSERT_EQ(::mkfifo(tmp.filePath("pipe.c3d").toLocal8Bit().constData(), 0600), 0);
    ASSERT_TRUE(QDir(tmp.path()).mkdir("folder.c3d"));
    for (const auto& c : cases) {
        fp.dialogs.shown.clear();
        EXPECT_EQ(window->importC3D(tmp.filePath(c.file)), nullptr) << c.file;
        ASSERT_EQ(fp.dialogs.shown.size(), 1u) << c.file;
        EXPECT_TRUE(fp.dialogs.shown[0].text.startsWith(QString("Cannot import ") + c.file));
        EXPECT_TRUE(fp.dialogs.shown[0].text.contains(c.reason))
            << fp.dialogs.shown[0].text.toStdString();
    }
    EXPECT_EQ(QDir(tmp.path()).entryList({"*.RF"}, QDir::Files).size(), 0);

    // A name with a directory is refused before anything is written.
    frmImportC3D* dialog = window->importC3D(tmp.filePath("trial.c3d"));
    ASSERT_NE(dialog, nullptr);
    dialog->txtOutput->setText("../OUT.RF");
    EXPECT_FALSE(dialog->cmdImport_Click());
    EXPECT_FALSE(QFile::exists(tmp.filePath("../OUT.RF")));
}

TEST_F(ImportC3D, CtrlIContextMenuAndDropOpenTheImport)
{
    auto imports = [&] { return window->findChildren<frmImportC3D*>().size(); };
    const QString trial = tmp.filePath("trial.c3d");

    QShortcut* ctrlI = nullptr;
    for (QShortcut* shortcut : window->findChildren<QShortcut*>())
        if (shortcut->key() == QKeySequence(Qt::CTRL | Qt::Key_I))
            ctrlI = shortcut;
    ASSERT_NE(ctrlI, nullptr);
    fp.dialogs.fileAnswers.push_back(trial);
    emit ctrlI->activated();
    EXPECT_EQ(imports(), 1);

    QAction* entry = nullptr;
    for (QAction* action : window->filForces->actions())
        if (action->text() == QString::fromUtf8("Import C3D force plates \u2026"))
            entry = action;
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(window->filForces->contextMenuPolicy(), Qt::ActionsContextMenu);
    fp.dialogs.fileAnswers.push_back(std::nullopt); // Cancel in the file dialog
    entry->trigger();
    EXPECT_EQ(imports(), 1);

    // Dropped files: .c3d ones are taken, others left to whoever wants them.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(trial), QUrl::fromLocalFile(tmp.filePath("x.rf"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &drop);
    QCoreApplication::processEvents();
    EXPECT_EQ(imports(), 2);

    QMimeData other;
    other.setUrls({QUrl::fromLocalFile(tmp.filePath("x.rf"))});
    QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
    refused.setAccepted(false);
    QCoreApplication::sendEvent(window.get(), &refused);
    EXPECT_FALSE(refused.isAccepted());
}

TEST_F(ImportC3D, WhatWillBeWrittenAndWhyAPlateCannotBeRead)
{
    // Plate 1 of a long trial is of a type Orvane does not read.
    write("long.c3d",
          c3dtest::twoPlates(6750, {c3dtest::number("FORCE_PLATFORM", "TYPE", {7, 2}, {2}, 2)}));
    frmImportC3D* dialog = window->importC3D(tmp.filePath("long.c3d"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(
        dialog->lstPlates->item(0)->text(),
        "Plate 1   type 7   cannot be read: plate 1 is of type 7, which Orvane does not read");
    EXPECT_EQ(dialog->lstPlates->currentRow(), 1);
    EXPECT_EQ(dialog->lblRecords->text(),
              "6750 samples at 1000 Hz become 3375 records at 500 Hz, each the mean of 2.");
    dialog->lstPlates->setCurrentRow(0);
    EXPECT_TRUE(dialog->lblPlate->text().endsWith(
        "It cannot be read: plate 1 is of type 7, which Orvane does not read"))
        << dialog->lblPlate->text().toStdString();
    for (QWidget* w : std::initializer_list<QWidget*>{dialog->lstPlates, dialog->lblPlate,
                                                      dialog->picPlan, dialog->lblRecords,
                                                      dialog->txtOutput, dialog->cmdImportAll})
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
    EXPECT_EQ(dialog->cmdImportAll->text(), "Import &every loaded plate");
}

TEST_F(ImportC3D, ANameWithoutTheExtensionGetsIt)
{
    frmImportC3D* dialog = window->importC3D(tmp.filePath("trial.c3d"));
    ASSERT_NE(dialog, nullptr);
    dialog->txtOutput->setText("mine");
    ASSERT_TRUE(dialog->cmdImport_Click());
    EXPECT_TRUE(QFile::exists(tmp.filePath("mine.RF")));
    EXPECT_FALSE(QFile::exists(tmp.filePath("mine")));
    EXPECT_EQ(s.LoadedForceFile, "mine.RF");
}

TEST_F(ImportC3D, EveryLoadedPlateIsWrittenOrNothing)
{
    const struct {
        const char* present; // a file there before, or nullptr
        bool written;
    } cases[] = {{"TRIAL_P2.RF", false}, {nullptr, true}, {nullptr, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.present ? c.present : "-");
        if (c.present)
            write(c.present, "keep me");
        fp.dialogs.shown.clear();
        frmImportC3D* dialog = window->importC3D(tmp.filePath("trial.c3d"));
        ASSERT_NE(dialog, nullptr);
        const QByteArray before = [&] {
            QFile f(tmp.filePath("TRIAL_P2.RF"));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        EXPECT_EQ(dialog->cmdImportAll_Click(), c.written);
        if (c.written) {
            EXPECT_TRUE(QFile::exists(tmp.filePath("TRIAL_P1.RF")));
            EXPECT_EQ(s.LoadedForceFile, "TRIAL_P2.RF"); // the larger peak is read
            EXPECT_NEAR(s.forces.Fz[1], 350, 0.01);
            EXPECT_TRUE(fp.dialogs.shown.empty());
        } else {
            ASSERT_EQ(fp.dialogs.shown.size(), 1u);
            EXPECT_TRUE(fp.dialogs.shown[0].text.contains("nothing is written"))
                << fp.dialogs.shown[0].text.toStdString();
            QFile f(tmp.filePath("TRIAL_P2.RF"));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            EXPECT_EQ(f.readAll(), before);
        }
        if (c.present) {
            EXPECT_FALSE(QFile::exists(tmp.filePath("TRIAL_P1.RF")));
            QFile::remove(tmp.filePath(c.present));
        }
        delete dialog;
    }
}
