#include "main/Library.h"
#include "main/SharedState.h"
#include "main/frmOrvane.h"
#include "platform/Platform.h"

#include <QComboBox>
#include <QDir>
#include <QListWidget>

namespace {
void fillList(QListWidget* list, const QString& dir, const QStringList& patterns)
{
    list->clear();
    QDir d(dir);
    d.setNameFilters(patterns);
    d.setFilter(QDir::Files | QDir::Readable | QDir::Hidden);
    d.setSorting(QDir::Name | QDir::IgnoreCase);
    list->addItems(d.entryList());
}
} // namespace

void frmOrvane::setupFilePanels() {}

bool frmOrvane::enterDataDirectory(const QString& dir)
{
    const QString trimmed = dir.trimmed();
    if (trimmed.isEmpty() || !QDir(trimmed).exists() || !m_platform.files.setCurrentDir(trimmed))
        return false;
    m_state.DataDir = QDir::cleanPath(QDir(trimmed).absolutePath());
    dirSelectPath = m_state.DataDir;
    dirSelect_Change();
    return true;
}

void frmOrvane::drvDrives_Change() {}

void frmOrvane::dirSelect_Change()
{
    m_state.DataDir = dirSelectPath;
    m_platform.files.setCurrentDir(dirSelectPath);
    m_state.TrialName.clear();
    m_state.FileType.clear();
    lblTrial->setText("none");
    lblPath->setText(m_state.DataDir.toLower());
    fillList(filModels, dirSelectPath, {"*.cfb"});
    fillList(filDatafiles, dirSelectPath, {"*.dg", "*.1t", "*.2t", "*.3t", "*.4t", "*.5t", "*.6t",
                                           "*.7t", "*.8t", "*.9t", "*.3d", "*.cda", "*.dig",
                                           "*.ssg"});
    fillList(filOutputs, dirSelectPath, {"*.out", "*.plt", "*.acd"});
    fillList(filForces, dirSelectPath, {"*.rf*", "*.rrf", "*.rr2", "*.orf"});
}

void frmOrvane::filDatafiles_Click() {}
void frmOrvane::filModels_Click() {}
void frmOrvane::filForces_Click() {}
void frmOrvane::filForces_DblClick() {}
void frmOrvane::filOutputs_Click() {}
void frmOrvane::cmdRefresh_Click() {}
