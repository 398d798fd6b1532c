#include "main/frmOrvane.h"

void frmOrvane::buildProgramsMenus() {}
