#pragma once

// Printing a window: its image goes to the default printer or, where no printer is
// installed, to a PDF file in the data directory. The caller asks first (ConfirmPrint).

#include <QString>
#include <functional>

class QWidget;
struct Platform;
struct SharedState;

// `status` receives the line that says where a PDF went, or why nothing was printed.
void printWindow(QWidget* window, SharedState& state, Platform& platform,
                 const std::function<void(const QString&)>& status);
