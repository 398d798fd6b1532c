#include "core/SharedState.h"
#include "fakes/FakePlatform.h"
#include "forcedata/RawListing.h"
#include "forcedata/frmRF.h"
#include "main/frmOrvane.h"
#include "platform/Twips.h"

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>

namespace
{

void setRecord(ForceTable& t, int i, std::array<double, 7> values, int16_t recordNo)
{
    t.Fx[i] = values[0];
    t.Fy[i] = values[1];
    t.Fz[i] = values[2];
    t.Ax[i] = values[3];
    t.Ay[i] = values[4];
    t.Mz[i] = static_cast<float>(values[5]);
    t.Extra[i] = values[6];
    t.RecordNo[i] = recordNo;
}

std::string card(const std::string& columns61to70)
{
    std::string c(60, 'x');
    return c + columns61to70;
}

TEST(RawListing, EachRecordIsOneLineOfTenColumnFields)
{
    ForceTable t;
    t.RecordCount = 4;
    setRecord(t, 1, {12.5, -3, 700.25, 0.1, 0.2, 1.5, 0}, 17);
    setRecord(t, 2, {0, 0, 0, 0, 0, 0, 0}, 0);
    setRecord(t, 3, {-12345.6789, 123456.5, 0.00005, -0.00004, 99999.99999, 0, 1}, -5);
    setRecord(t, 4, {1, 2, 3, 4, 5, 6, 7}, 5000);
    const QStringList lines = listingLines(t);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "   12.5000   -3.0000  700.2500    0.1000    0.2000    1.5000    0.0000"
                        "     17");
    EXPECT_EQ(lines[1], "    0.0000    0.0000    0.0000    0.0000    0.0000    0.0000    0.0000"
                        "     ");
    EXPECT_EQ(lines[2], "-12345.6789123456.5000    0.0001    0.0000100000.0000    0.0000"
                        "    1.0000     -5");
    EXPECT_EQ(lines[3].size(), 79);

    for (int16_t count : {int16_t(-1), int16_t(0)}) {
        t.RecordCount = count;
        EXPECT_EQ(listingLines(t), QStringList{"Missing or undefined."}) << count;
    }
    t.RecordCount = ForceTable::RecordCapacity;
    EXPECT_EQ(listingLines(t).size(), ForceTable::RecordCapacity);
}

TEST(RawListing, TheSeventhColumnIsNamedByTheLastHeaderCard)
{
    const std::pair<std::string, const char*> cases[] = {
        {card("        Ay"), "   Az"},
        {card("Ay        "), "   Az"},
        {card("       Fz2"), "Fz2"},
        {card(" height cm"), "height cm"},
        {card("          "), "Extra"},
        {"", "Extra"},
        {card("Az"), "Az"},
    };
    for (const auto& [header, heading] : cases) {
        ForceTable t;
        t.LastHeaderCard = header;
        EXPECT_EQ(seventhColumnHeading(t), heading) << header;
    }
}

TEST(RawListing, RatesAreShownWithTwoDecimalsUnlessTypedAsText)
{
    const std::pair<const char*, const char*> cases[] = {
        {"500", "500.00"},   {"0", "0.00"}, {"1e3", "1000.00"},
        {" 200 ", "200.00"}, {"", ""},      {"fast", "fast"},
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(formatRate(text), shown) << text;
}

class ListingWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ForceTable& t = s.forces;
        t.RecordCount = 3;
        t.SamplingRate = "500";
        t.BodyWeight = 712.5f;
        t.TrialTitle = "WALK01 stance phase";
        t.TrialTitle.resize(ForceTable::TitleWidth, ' ');
        t.LastHeaderCard = card("        Ay");
        setRecord(t, 1, {-1234.5678, -2234.5678, 12.5, 1, 2, 3, 4}, 1);
        setRecord(t, 2, {1, 2, 3, 4, 5, 6, 7}, 2);
        setRecord(t, 3, {1, 2, 3, 4, 5, 6, 7}, 3);
        s.ForceFile = "WALK01.RF";
    }

    SharedState s;
    FakePlatform fp;
};

TEST_F(ListingWindow, ShowsTheTableAndTheTrial)
{
    frmRF form(s, fp.platform());
    EXPECT_EQ(form.windowTitle(), "Raw Forces and Centres of Pressure");
    EXPECT_EQ(form.txtTrial->text(), "WALK01.RF");
    EXPECT_EQ(form.txtNforces->text(), "3");
    EXPECT_EQ(form.txtRate->text(), "500.00");
    EXPECT_EQ(form.txtWeight->text(), "712.50");
    EXPECT_EQ(form.txtTitle->toPlainText().toStdString(), s.forces.TrialTitle);
    EXPECT_EQ(form.Label4->text(), "   Az");
    ASSERT_EQ(form.lstRFforces->count(), 3);
    EXPECT_EQ(form.lstRFforces->item(1)->text(), listingLines(s.forces)[1]);

    // Every control a user reads or operates can be named by a screen reader.
    for (QWidget* w : form.findChildren<QWidget*>()) {
        bool named = !w->accessibleName().isEmpty();
        if (auto* label = qobject_cast<QLabel*>(w))
            named = named || !label->text().isEmpty();
        else if (auto* button = qobject_cast<QPushButton*>(w))
            named = named || !button->text().isEmpty();
        else if (!qobject_cast<QLineEdit*>(w) && !qobject_cast<QListWidget*>(w))
            continue;
        EXPECT_TRUE(named) << w->objectName().toStdString();
    }
}

// The rightmost inked column in a band of rows of the image, between left and right.
int lastInk(const QImage& image, int top, int bottom, int left, int right)
{
    const QRgb background = image.pixel(left, top);
    for (int x = right - 1; x >= left; --x) {
        for (int y = top; y < bottom; ++y) {
            if (qGray(image.pixel(x, y)) < qGray(background) - 80)
                return x;
        }
    }
    return -1;
}

TEST_F(ListingWindow, EachHeadingStandsOverItsOwnColumnAlignedAsItsNumbers)
{
    frmRF form(s, fp.platform());
    const QString headings = form.Label1->text();
    const QString line = listingLines(s.forces)[1]; // "    1.0000 ...     2"
    // The seven fields end where their headings end; the record numbers start where
    // "Record" starts.
    struct Case {
        const char* heading;
        qsizetype end; // one past the last column
    };
    const Case fields[] = {{"Fx", 10}, {"Fy", 20}, {"Fz", 30},   {"Ax", 40},
                           {"Ay", 50}, {"Mz", 60}, {"Extra", 70}};
    for (const Case& c : fields) {
        const qsizetype at = headings.indexOf(QString::fromLatin1(c.heading) + u' ');
        EXPECT_EQ(at + qsizetype(std::strlen(c.heading)), c.end) << c.heading;
        EXPECT_NE(line[c.end - 1], u' ') << c.heading;
        EXPECT_EQ(line[c.end - 10], u' ') << c.heading;
    }
    const qsizetype record = headings.indexOf("Record");
    EXPECT_EQ(record, 75);
    EXPECT_EQ(line.mid(record), "2");
    EXPECT_EQ(headings.simplified(), "Fx Fy Fz Ax Ay Mz Extra Record") << "the words are kept";
}

TEST_F(ListingWindow, HeadingsStandOverTheirColumns)
{
    frmRF form(s, fp.platform());
    form.show();
    const QImage image = form.grab().toImage();
    const QFontMetrics metrics(form.lstRFforces->font());
    // Same fixed-pitch font for headings and lines: columns then line up as soon as
    // the first does.
    for (QChar c : {u'i', u'W', u' ', u'-'})
        ASSERT_EQ(metrics.horizontalAdvance(c), metrics.horizontalAdvance(u'0'));
    EXPECT_EQ(form.Label1->font(), form.lstRFforces->font());
    const int charWidth = metrics.horizontalAdvance(u'0');

    QLabel* headings = form.Label1;
    const QRect headingRect(headings->mapTo(&form, QPoint(0, 0)), headings->size());
    const QRect lineRect =
        form.lstRFforces->visualItemRect(form.lstRFforces->item(1))
            .translated(form.lstRFforces->viewport()->mapTo(&form, QPoint(0, 0)));
    // On screen: the first field's number and "Fx" end in the same column.
    const int left = lineRect.left();
    const int right = left + 10 * charWidth + charWidth / 2;
    const int lineInk = lastInk(image, lineRect.top() + 1, lineRect.bottom(), left, right);
    const int headingInk = lastInk(image, headingRect.top(), headingRect.bottom(), left, right);
    ASSERT_GE(lineInk, 0);
    ASSERT_GE(headingInk, 0);
    EXPECT_LE(std::abs(lineInk - headingInk), charWidth / 2);
    // The seventh heading, named by the header card, covers the seventh field exactly
    // and ends where its numbers end.
    const QRect seventh(form.Label4->mapTo(&form, QPoint(0, 0)), form.Label4->size());
    const int sixty = metrics.horizontalAdvance(QString(60, u'0'));
    EXPECT_EQ(seventh.left(), headingRect.left() + sixty);
    EXPECT_EQ(seventh.width(), metrics.horizontalAdvance(QString(70, u'0')) - sixty);
    EXPECT_TRUE(form.Label4->alignment() & Qt::AlignRight);
    const int seventhInk =
        lastInk(image, seventh.top(), seventh.bottom(), seventh.left(), seventh.right() + 1);
    const int numberInk =
        lastInk(image, lineRect.top() + 1, lineRect.bottom(), seventh.left(), seventh.right() + 1);
    EXPECT_LE(std::abs(seventhInk - numberInk), charWidth / 2);
}

TEST_F(ListingWindow, TheWindowIsAnnouncedAsAWindow)
{
    frmRF form(s, fp.platform());
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&form);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::Window);
}

TEST_F(ListingWindow, ClickingALineSaysTheDataCannotBeEdited)
{
    frmRF form(s, fp.platform());
    form.show();
    const QRect line = form.lstRFforces->visualItemRect(form.lstRFforces->item(1));
    QTest::mouseClick(form.lstRFforces->viewport(), Qt::LeftButton, {}, line.center());
    ASSERT_EQ(fp.dialogs.shown.size(), 1u);
    EXPECT_EQ(fp.dialogs.shown[0].text, "Force data cannot be edited");
    EXPECT_EQ(fp.dialogs.shown[0].title, "External forces");
    EXPECT_EQ(fp.dialogs.shown[0].buttons, MessageButtons::OK);
    EXPECT_EQ(form.lstRFforces->count(), 3);
    EXPECT_EQ(form.lstRFforces->item(1)->text(), listingLines(s.forces)[1]);
}

TEST_F(ListingWindow, TheListFollowsTheWindowsHeight)
{
    frmRF form(s, fp.platform());
    form.show();
    struct Case {
        int heightTwips;
        int listTwips;
    };
    for (const Case& c : {Case{6000, 5100}, Case{3000, 2100}, Case{600, 0}}) {
        form.resize(form.width(), twipsToPixels(c.heightTwips));
        const int frameTwips = pixelsToTwips(form.frameGeometry().height());
        EXPECT_EQ(form.lstRFforces->height(), twipsToPixels(std::max(0, frameTwips - 900)))
            << c.heightTwips;
    }
    form.resize(form.width(), twipsToPixels(6000));
    const int before = form.lstRFforces->height();
    form.setWindowState(Qt::WindowMinimized);
    form.Form_Resize();
    EXPECT_EQ(form.lstRFforces->height(), before);
}

TEST_F(ListingWindow, ViewForcesLoadsTheListingAfreshAndOKOnlyHidesIt)
{
    auto listings = [] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QList<frmRF*> found;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* form = qobject_cast<frmRF*>(w))
                found << form;
        }
        return found;
    };
    frmOrvane window(s, fp.platform());
    window.cmdViewForces_Click();
    ASSERT_EQ(listings().size(), 1);
    frmRF* first = listings().first();
    EXPECT_TRUE(first->isVisible());
    QTest::mouseClick(first->cmdExit, Qt::LeftButton);
    EXPECT_FALSE(first->isVisible());
    ASSERT_EQ(listings().size(), 1);

    // A new read is listed by a new window; the old one is gone.
    s.forces.RecordCount = 0;
    window.cmdViewForces_Click();
    ASSERT_EQ(listings().size(), 1);
    frmRF* second = listings().first();
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(second->lstRFforces->item(0)->text(), "Missing or undefined.");
    EXPECT_EQ(second->txtNforces->text(), "0");

    hideRawListing();
    EXPECT_FALSE(second->isVisible());
    second->close();
    EXPECT_TRUE(listings().isEmpty());
}

} // namespace
