#include "DocsFixture.h"
#include "docs/frmAbout.h"
#include "docs/frmReader.h"
#include "docs/frmViewer.h"

#include <QAccessible>

#include <functional>
#include <memory>

namespace
{
class WindowRoles : public DocsTest
{
};
} // namespace

// A screen reader announces each document window as a window or a dialog box, never
// as a "filler" belonging to some other window.
TEST_F(WindowRoles, EachDocumentWindowIsAnnouncedAsAWindow)
{
    struct Case {
        const char* name;
        std::function<std::unique_ptr<QWidget>()> make;
        QAccessible::Role role;
    };
    const Case cases[] = {
        {"reader", [this] { return std::make_unique<frmReader>(s, fp.platform()); },
         QAccessible::Window},
        {"About box", [this] { return std::make_unique<frmAbout>(s, fp.platform()); },
         QAccessible::Dialog},
        {"text viewer", [this] { return std::make_unique<frmViewer>(s, fp.platform()); },
         QAccessible::Window},
    };
    for (const Case& c : cases) {
        std::unique_ptr<QWidget> window = c.make();
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(window.get());
        ASSERT_NE(face, nullptr) << c.name;
        EXPECT_EQ(face->role(), c.role) << c.name;
        EXPECT_EQ(face->text(QAccessible::Name), window->windowTitle()) << c.name;
        // Its controls stay reachable below it.
        EXPECT_GT(face->childCount(), 0) << c.name;
    }
}
