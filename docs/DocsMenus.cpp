#include "main/frmOrvane.h"

#include <QMenu>

void frmOrvane::buildDocsMenus()
{
    mnuHelp->addSeparator();
    mnuHelp->addAction(mnuProgHelp);
    mnuHelp->addSeparator();
    mnuHelp->addAction(mnuAbout);
}
