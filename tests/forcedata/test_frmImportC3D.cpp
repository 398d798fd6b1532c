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
#include <QShortcut>
#include <QTemporaryDir>
#include <QUrl>

#include <fstream>
#include <gtest/gtest.h>

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
    EXPECT_EQ(dialog->lstPlates->item(1)->text(),
              "Plate 2   type 2   10 samples   1000 Hz   peak Fz 350.0 N");
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
    } cases[] = {{"cut.c3d", "data section"}, {"missing.c3d", "File not found"}};
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
