#include "platform/DialogWidth.h"
#include "platform/QtPlatform.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>

// The boxes are shown for real and measured while open.
TEST(DialogWidth, MessageAndInputBoxesAreWideEnoughForTheirTitles)
{
    struct Case {
        const char* what;
        QString title; // as the box shows it
        std::function<void(QtDialogs&)> show;
    };
    const Case cases[] = {
        {"F1 in the animation window", "Orvane",
         [](QtDialogs& d) {
             d.message("No help available.", "", MessageIcon::None, MessageButtons::OK);
         }},
        {"the sampling-rate question", "Force Sampling Rate",
         [](QtDialogs& d) {
             d.input("Enter sampling rate of forces.", "Force Sampling Rate", "200");
         }},
        {"a long title over a short text", "Some programs were not found anywhere at all",
         [](QtDialogs& d) {
             d.message("x", "Some programs were not found anywhere at all", MessageIcon::Critical,
                       MessageButtons::OK);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int width = -1;
        QString title;
        QTimer::singleShot(0, [&] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                width = box->width();
                title = box->windowTitle();
                static_cast<QDialog*>(box)->reject();
            }
        });
        QtDialogs dialogs;
        c.show(dialogs);
        EXPECT_EQ(title, c.title);
        EXPECT_GE(width, widthForTitle(c.title));
    }
}
