#include "main/frmOrvane.h"

#include <QMenu>

void frmOrvane::buildFileMenu()
{
    mnuFile->addAction(mnuExit);
}

void frmOrvane::connectToolButtons() {}
