#include "main/frmOrvane.h"

void frmOrvane::cmdViewForces_Click() {}
