#include "main/frmOrvane.h"

void frmOrvane::buildDataMenus() {}
