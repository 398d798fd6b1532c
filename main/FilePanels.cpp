#include "core/Library.h"
#include "core/ProgramLaunch.h"
#include "core/SharedState.h"
#include "main/FileListBox.h"
#include "main/FileLists.h"
#include "main/frmOrvane.h"
#include "platform/DirectoryReader.h"
#include "platform/FileErrors.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>

#include <memory>

namespace
{
const QString DatafilePatterns =
    QStringLiteral("*.dg;*.1t;*.2t;*.3t;*.4t;*.5t;*.6t;*.7t;*.8t;*.9t;*.3d;*.cda;*.dig;*.ssg");
const QString ModelPatterns = QStringLiteral("*.cfb");
const QString ForcePatterns = QStringLiteral("*.rf*;*.rrf;*.rr2;*.orf");
const QString OutputPatterns = QStringLiteral("*.out;*.plt;*.acd");

const QString NoForceFiles = QStringLiteral("No force files in this directory.");
const QString NoForceFileSelected = QStringLiteral("No force file was selected.");
const QString PathProblem = QStringLiteral("There was a problem finding a path.  Error was ");

// A title is one card; more than this of a line without an end is not a title.
constexpr int FirstLineLimit = 4096;

constexpr int PathRole = Qt::UserRole;
constexpr int DepthRole = Qt::UserRole + 1;
// Set on an entry whose shown name is not the name on disk (bytes that are no text).
constexpr int UntranslatableRole = Qt::UserRole + 2;


// Indents each line of the directory list by its depth, as a tree of folders.
class DirectoryDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem indented(option);
        indented.rect.adjust(indent(index), 0, 0, 0);
        QStyledItemDelegate::paint(painter, indented, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(index), 0);
    }

private:
    static int indent(const QModelIndex& index) { return 8 * index.data(DepthRole).toInt(); }
};

QStringList listedNames(const QListWidget* list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

QListWidgetItem* selectedEntry(const QListWidget* list)
{
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? nullptr : items.first();
}

void showNames(QListWidget* list, const QStringList& names,
               const QSet<QString>& untranslatable = {})
{
    const QSignalBlocker quiet(list);
    list->clear();
    list->addItems(names);
    for (int i = 0; i < list->count(); ++i) {
        if (untranslatable.contains(list->item(i)->text()))
            list->item(i)->setData(UntranslatableRole, true);
    }
    list->setVisible(true);
}

// The four file lists in the order they are refreshed.
void showFiles(frmOrvane& w, const DirectoryContents& contents)
{
    QStringList files = contents.files;
    sortNames(files);
    const QSet<QString>& odd = contents.untranslatable;
    showNames(w.filModels, filesMatching(files, ModelPatterns), odd);
    w.lblModels->setVisible(true);
    showNames(w.filDatafiles, filesMatching(files, DatafilePatterns), odd);
    w.lblDatafiles->setVisible(true);
    showNames(w.filOutputs, filesMatching(files, OutputPatterns), odd);
    showNames(w.filForces, filesMatching(files, ForcePatterns), odd);
}

// Tells the user that `item` names something Orvane cannot reach; true when it does.
bool refuseUntranslatable(frmOrvane& w, const QListWidgetItem* item)
{
    if (!item || !item->data(UntranslatableRole).toBool())
        return false;
    const QString& LF = w.state().LF;
    w.platform().dialogs.message(unusableNameText(item->text(), LF), {}, MessageIcon::Exclamation,
                                 MessageButtons::OK);
    return true;
}

QStringList driveList(const frmOrvane& w)
{
    QStringList drives;
    for (int i = 0; i < w.drvDrives->count(); ++i)
        drives << w.drvDrives->itemText(i);
    return drives;
}

void selectDrive(frmOrvane& w, const QString& path)
{
    const QSignalBlocker quiet(w.drvDrives);
    w.drvDrives->setCurrentIndex(w.drvDrives->findText(driveOf(path, driveList(w))));
}

void fillDrives(frmOrvane& w)
{
    const QSignalBlocker quiet(w.drvDrives);
    w.drvDrives->clear();
    w.drvDrives->addItems(w.platform().files.mountPoints());
    selectDrive(w, w.dirSelectPath);
}

void showDirectoryList(frmOrvane& w, const QString& path, const QStringList& subdirectories,
                       const QSet<QString>& untranslatable = {})
{
    QListWidget* list = w.dirSelect;
    const QSignalBlocker quiet(list);
    list->clear();
    const QIcon open = list->style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = list->style()->standardIcon(QStyle::SP_DirClosedIcon);
    QListWidgetItem* current = nullptr;
    for (const DirectoryListEntry& entry :
         directoryListEntries(path, driveOf(path, driveList(w)), subdirectories)) {
        auto* item = new QListWidgetItem(entry.open ? open : closed, entry.text, list);
        item->setData(PathRole, entry.path);
        item->setData(DepthRole, entry.depth);
        item->setToolTip(entry.path);
        if (!entry.open && untranslatable.contains(entry.text))
            item->setData(UntranslatableRole, true);
        if (entry.path == path)
            current = item;
    }
    list->setCurrentItem(current);
    if (current)
        list->scrollToItem(current);
    list->setVisible(true);
}

// Makes `path` the directory the panels show and the process's current directory.
// Nothing changes when it cannot be read or entered; the answer is then the error
// number.
int enterPath(frmOrvane& w, const QString& path)
{
    DirectoryContents contents = readDirectory(path);
    if (contents.error == 0 && !w.platform().files.setCurrentDir(path))
        contents.error = FileError::PermissionDenied; // readable, yet not searchable
    if (contents.error != 0)
        return contents.error;

    SharedState& s = w.state();
    w.dirSelectPath = path;
    s.DataDir = path;
    s.TrialName.clear();
    s.FileType.clear();
    w.lblTrial->setText("none");
    w.lblPath->setText(pathCaption(s.DataDir, caseSensitiveFileNames()));
    showFiles(w, contents);
    selectDrive(w, path);
    showDirectoryList(w, path, contents.directories, contents.untranslatable);
    return 0;
}

QString absoluteDirectory(const QString& dir)
{
    return QDir::cleanPath(QDir(dir).absolutePath());
}

void clearFileLists(frmOrvane& w)
{
    for (QListWidget* list : {w.filModels, w.filDatafiles, w.filOutputs, w.filForces})
        showNames(list, {});
}

// Connects a file list so that each choice of an entry, however made, runs `handler`
// once. An entry whose name cannot be carried is refused and the highlight goes back
// to the entry the handler last took, so it always shows the trial the state names.
void connectChoice(frmOrvane* w, QListWidget* list, void (frmOrvane::*handler)())
{
    auto* box = static_cast<FileListBox*>(list);
    auto taken = std::make_shared<QString>();
    box->onChoice = [w, box, handler, taken] {
        const QListWidgetItem* item = selectedEntry(box);
        if (refuseUntranslatable(*w, item)) {
            const QSignalBlocker quiet(box);
            const QList<QListWidgetItem*> back = box->findItems(*taken, Qt::MatchExactly);
            if (back.isEmpty())
                box->clearSelection();
            else
                box->setCurrentItem(back.first());
            return;
        }
        *taken = item ? item->text() : QString();
        (w->*handler)();
    };
}
} // namespace

void frmOrvane::setupFilePanels()
{
    // File names and titles come from the disk: never take them for markup.
    for (QLabel* label : {lblTrial, lblPath, lblTitle})
        label->setTextFormat(Qt::PlainText);

    fillDrives(*this);
    // Queued: both handlers rebuild the very list whose signal calls them.
    connect(drvDrives, &QComboBox::activated, this, &frmOrvane::drvDrives_Change,
            Qt::QueuedConnection);
    dirSelect->setItemDelegate(new DirectoryDelegate(dirSelect));
    dirSelect->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(
        dirSelect, &QListWidget::itemActivated, this,
        [this](QListWidgetItem* item) {
            if (refuseUntranslatable(*this, item))
                return;
            dirSelectPath = item->data(PathRole).toString();
            dirSelect_Change();
        },
        Qt::QueuedConnection);

    connectChoice(this, filDatafiles, &frmOrvane::filDatafiles_Click);
    connectChoice(this, filModels, &frmOrvane::filModels_Click);
    connectChoice(this, filForces, &frmOrvane::filForces_Click);
    connectChoice(this, filOutputs, &frmOrvane::filOutputs_Click);
    connect(filForces, &QListWidget::itemDoubleClicked, this, &frmOrvane::filForces_DblClick);
}

bool frmOrvane::enterDataDirectory(const QString& dir)
{
    const QString trimmed = dir.trimmed();
    if (trimmed.isEmpty())
        return false;
    if (drvDrives->count() == 0)
        fillDrives(*this);
    return enterPath(*this, absoluteDirectory(trimmed)) == 0;
}

void frmOrvane::drvDrives_Change()
{
    const QString drive = drvDrives->currentText();
    // Picking the drive already shown keeps the directory the user is in.
    if (!dirSelectPath.isEmpty() && drive == driveOf(dirSelectPath, driveList(*this)))
        return;
    const int error = enterPath(*this, drive);
    if (error == 0)
        return;
    m_platform.dialogs.message("There was a drive problem." + m_state.LF +
                                   "Error was: " + QString::fromStdString(fileErrorText(error)),
                               {}, MessageIcon::Exclamation, MessageButtons::OK);
    fillDrives(*this);
}

void frmOrvane::dirSelect_Change()
{
    const int error = enterPath(*this, absoluteDirectory(dirSelectPath));
    if (error == 0)
        return;
    m_platform.dialogs.message(PathProblem + QString::fromStdString(fileErrorText(error)), {},
                               MessageIcon::Information, MessageButtons::OK);
    // The panels go on showing the directory they showed.
    dirSelectPath = m_platform.files.currentDir();
    const DirectoryContents shown = readDirectory(dirSelectPath);
    showDirectoryList(*this, dirSelectPath, shown.directories, shown.untranslatable);
}

void frmOrvane::filDatafiles_Click()
{
    if (filDatafiles->count() == 0) {
        m_platform.dialogs.message("No datafiles (*.DG) in this subdirectory.", {},
                                   MessageIcon::Critical, MessageButtons::OK);
        return;
    }
    const QListWidgetItem* item = selectedEntry(filDatafiles);
    if (!item)
        return;
    const QString text = item->text();
    const qsizetype dot = text.indexOf(u'.');
    m_state.TrialName = dot < 0 ? text : text.left(dot);
    m_state.FileType = dot < 0 ? QString() : text.mid(dot + 1);
    lblTrial->setText(nameClashesByCase(text, listedNames(filDatafiles))
                          ? text
                          : m_state.TrialName.toUpper() + "." + m_state.FileType);
}

void frmOrvane::filModels_Click()
{
    if (filModels->count() == 0) {
        m_platform.dialogs.message("No models (.CFB) in this subdirectory.", {},
                                   MessageIcon::Critical, MessageButtons::OK);
        return;
    }
    const QListWidgetItem* item = selectedEntry(filModels);
    if (!item)
        return;
    m_state.TrialName = item->text().section(u'.', 0, 0);
    lblTrial->setText(nameClashesByCase(item->text(), listedNames(filModels))
                          ? m_state.TrialName
                          : m_state.TrialName.toUpper());
}

// The force file the click or double-click chose, or nullptr after telling the user
// why there is none.
const QListWidgetItem* frmOrvane::chosenForceFile()
{
    if (filForces->count() == 0) {
        m_platform.dialogs.message(NoForceFiles, {}, MessageIcon::Information, MessageButtons::OK);
        return nullptr;
    }
    const QListWidgetItem* item = selectedEntry(filForces);
    if (!item)
        m_platform.dialogs.message(NoForceFileSelected, {}, MessageIcon::Exclamation,
                                   MessageButtons::OK);
    return item;
}

void frmOrvane::filForces_Click()
{
    const QListWidgetItem* item = chosenForceFile();
    if (!item)
        return;
    CurrentFile = item->text();
    cmdReadForces->setEnabled(true);
    m_state.ForceFile = CurrentFile;
    m_state.TrialName = StripExtension(CurrentFile);
    m_state.FileType = GetExtension(CurrentFile);
    lblTrial->setText(shownForceFileName());

    const bool alreadyRead = m_state.ForceFile == m_state.LoadedForceFile;
    cmdReadForces->setEnabled(!alreadyRead);
    cmdViewForces->setEnabled(alreadyRead);
    cmdAnimate->setEnabled(alreadyRead);

    if (!showForceFileTitle()) {
        m_platform.dialogs.message("File is empty or unreadable.  Select another file.",
                                   "Unreadable File", MessageIcon::Exclamation, MessageButtons::OK);
    }
}

QString frmOrvane::shownForceFileName() const
{
    const QString& name = m_state.ForceFile;
    return nameClashesByCase(name, listedNames(filForces)) ? name : name.toUpper();
}

// However the trial was chosen (a click, the command line, an import, a refresh that
// keeps it), its title is the one its file holds now.
bool frmOrvane::showForceFileTitle()
{
    const FileStart start =
        readFileStart(m_platform.files.resolve(dirSelectPath, m_state.ForceFile), FirstLineLimit);
    if (start.error != 0 || start.bytes.isEmpty()) {
        lblTitle->setText("Unreadable or empty file.");
        return false;
    }
    lblTitle->setText(firstLineText(start.bytes));
    return true;
}

void frmOrvane::filForces_DblClick()
{
    const QListWidgetItem* item = chosenForceFile();
    if (!item)
        return;
    CurrentFile = item->text();
    lblTrial->setText(nameClashesByCase(m_state.ForceFile, listedNames(filForces))
                          ? m_state.TrialName
                          : m_state.TrialName.toUpper());
    if (CheckOpen(m_state, m_platform, m_state.ProgramDir, "chronel.exe", 0) != 0)
        return;
    m_state.TargetName = GetShortName(m_platform, CurrentFile);
    // The batch wrapper, when present, prepares the history tool's run.
    const QString tool = CheckOpen(m_state, m_platform, m_state.ProgramDir, "tymlyn.bat", 0) != 0
                             ? "chronel.exe"
                             : "tymlyn.bat";
    const QString program = m_platform.files.resolve(m_state.ProgramDir, tool);
    const QString arguments = "/a/c/z " + fileArgument(m_state.TargetName);
    CommandLine = program + " " + arguments;
    // The wrapper starts the history tool without a word when the tool cannot run.
    if (tool != "chronel.exe" && !m_state.TargetName.isEmpty() &&
        !m_platform.files.isProgram(m_platform.files.resolve(m_state.ProgramDir, "chronel.exe"))) {
        m_state.LastResult = 0;
        showStatus(couldNotStartText("chronel.exe"));
        return;
    }
    if (!m_state.TargetName.isEmpty())
        startFromWindow(*this, program, arguments, m_state.DataDir, WindowStyle::NormalFocus);
}

void frmOrvane::filOutputs_Click()
{
    if (filOutputs->count() == 0) {
        m_platform.dialogs.message("No output files in this directory.", {}, MessageIcon::None,
                                   MessageButtons::OK);
        return;
    }
    const QListWidgetItem* item = selectedEntry(filOutputs);
    if (!item) {
        m_platform.dialogs.message("No output file was selected.", {}, MessageIcon::Information,
                                   MessageButtons::OK);
        return;
    }
    CurrentFile = item->text();
    m_state.TargetName = CurrentFile;
    if (m_state.TargetName.isEmpty())
        return;
    const QString extension = outputExtension(m_state.TargetName);
    const QString argument = fileArgument(m_state.TargetName);
    const QString& dir = m_state.DataDir;
    QString program;
    if (extension == "OUT" || extension == "TXT")
        program = "notepad.exe";
    else if (extension == "PLT")
        program = m_platform.files.resolve(
            m_state.ProgramDir, m_state.PlotPrinter == 0 ? "hardcpd.exe" : "hardcpw.exe");
    else if (extension == "ACD")
        program = m_platform.files.resolve(m_state.ProgramDir, "acrospin.exe");

    if (program.isEmpty())
        openFromWindow(*this, "open", QDir(dir).filePath(m_state.TargetName), {}, dir,
                       WindowStyle::NormalFocus);
    else
        startFromWindow(*this, program, argument, dir, WindowStyle::NormalFocus);
}

void frmOrvane::cmdRefresh_Click()
{
    const DirectoryContents contents = readDirectory(dirSelectPath);
    if (contents.error != 0) {
        // The shown directory has gone: its names would only lead to missing files.
        clearFileLists(*this);
        m_platform.dialogs.message(PathProblem +
                                       QString::fromStdString(fileErrorText(contents.error)),
                                   {}, MessageIcon::Information, MessageButtons::OK);
    } else {
        showFiles(*this, contents);
    }
    fillDrives(*this);
    showDirectoryList(*this, dirSelectPath, contents.directories, contents.untranslatable);

    // Shown afresh, as a window repaints everything when it reappears.
    const bool wasVisible = isVisible();
    hide();
    m_platform.events.yield();
    if (wasVisible)
        show();
}

void frmOrvane::refreshFileList(QListWidget* list)
{
    const QString patterns = list == filModels      ? ModelPatterns
                             : list == filDatafiles ? DatafilePatterns
                             : list == filForces    ? ForcePatterns
                             : list == filOutputs   ? OutputPatterns
                                                    : QString();
    if (patterns.isEmpty())
        return;
    const QListWidgetItem* chosen = selectedEntry(list);
    const QString chosenName = chosen ? chosen->text() : QString();
    const DirectoryContents contents = readDirectory(dirSelectPath);
    QStringList files = contents.files;
    sortNames(files);
    showNames(list, filesMatching(files, patterns), contents.untranslatable);
    if (chosenName.isEmpty())
        return;
    const QList<QListWidgetItem*> same = list->findItems(chosenName, Qt::MatchExactly);
    if (!same.isEmpty()) {
        const QSignalBlocker quiet(list);
        list->setCurrentItem(same.first());
        if (list == filForces && chosenName == m_state.ForceFile)
            showForceFileTitle();
    }
}
