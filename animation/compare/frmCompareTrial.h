#pragma once

// The compare window's own record of a trial, which its source files share.

#include "animation/compare/frmCompare.h"

#include <QString>

#include <memory>
#include <optional>

class QTreeWidgetItem;

// A trial as read once, and its curves and rows for the threshold and filter last used.
struct frmCompare::Trial : compare::TrialCurves {
    QString file; // as the table's file column says it: a name in the directory, or a path
    QString path;
    QTreeWidgetItem* item = nullptr;
    compare::Group group = compare::Group::None;

    bool read = false;
    QString readProblem; // the file gave no trial: why
    std::unique_ptr<ForceTable> table;

    bool prepared = false;
    double threshold = 0;
    std::optional<double> lowPass;
};
