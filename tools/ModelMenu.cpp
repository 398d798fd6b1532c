#include "main/frmOrvane.h"

void frmOrvane::buildModelMenu() {}
