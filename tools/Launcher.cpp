#include "main/frmOrvane.h"

bool frmOrvane::RunTool()
{
    return false;
}
