#include "DocsFixture.h"
#include "docs/DocsRules.h"
#include "docs/frmReader.h"
#include "platform/Twips.h"

#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

namespace
{
class Reader : public DocsTest
{
protected:
    void TearDown() override
    {
        delete reader;
        DocsTest::TearDown();
    }
    frmReader& open()
    {
        if (!reader)
            reader = new frmReader(s, fp.platform());
        reader->showManual();
        settle();
        return *reader;
    }
    void installManual(const QString& name)
    {
        QDir().mkpath(s.ManualsDir);
        ASSERT_TRUE(QFile::copy(builtManual(), s.ManualsDir + name)) << builtManual().toStdString();
    }

    QPointer<frmReader> reader;
};
} // namespace

TEST_F(Reader, AnEmptyManualsDirectoryIsReportedOnceAndNamedInTheWindow)
{
    QDir().mkpath(s.ManualsDir);
    writeFile(s.ManualsDir + "readme.txt", "not a manual");
    s.ManualFile = "orvane.pdf";
    frmReader& r = open();
    const QString warning =
        "No Acrobat documents were found in the directory, \n" + s.ManualsDir + ".";
    ASSERT_EQ(fp.dialogs.messageTexts(), QStringList{warning});
    EXPECT_EQ(fp.dialogs.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(r.isVisible()) << "the reader stays open with nothing loaded";
    EXPECT_TRUE(r.lblNotice->isVisible());
    EXPECT_EQ(r.lblNotice->text(), warning);

    r.Form_Activate(); // the box closing hands activation back
    EXPECT_EQ(fp.dialogs.messageTexts().size(), 1);
}

TEST_F(Reader, ShowsTheManualUnderItsLowerCasePathWhateverItsCaseOnDisk)
{
    s.ManualsDir = s.ProgramDir + "/Manuals/";
    installManual("Orvane.PDF");
    s.ManualFile = "orvane.pdf";
    frmReader& r = open();
    const QString path = (s.ProgramDir + "/Manuals/orvane.pdf").toLower();
    EXPECT_EQ(r.DocumentPath, path);
    EXPECT_EQ(r.lblReader->text(), path + " ");
    EXPECT_EQ(r.loadedFile(), s.ManualsDir + "Orvane.PDF");
#ifdef ORVANE_HAVE_QTPDF
    EXPECT_TRUE(r.documentShown());
    EXPECT_FALSE(r.lblNotice->isVisible());
#endif
    EXPECT_FALSE(r.filReader->isVisible());
    EXPECT_TRUE(fp.dialogs.shown.empty());
}

TEST_F(Reader, ADocumentThatCannotBeShownLeavesANoticeInTheWindow)
{
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"not a PDF", "this is not a PDF file at all"},
        {"cut-off PDF", "%PDF-1.4\n1 0 obj\n<< /Type /Catalog"},
        {"empty", QByteArray()},
    };
    for (const Case& c : cases) {
        delete reader;
        writeFile(s.ManualsDir + "orvane.pdf", c.bytes);
        s.ManualFile = "orvane.pdf";
        frmReader& r = open();
        EXPECT_TRUE(r.isVisible()) << c.name;
        EXPECT_FALSE(r.documentShown()) << c.name;
        EXPECT_TRUE(r.lblNotice->isVisible()) << c.name;
        EXPECT_TRUE(r.lblNotice->text().startsWith("The document " + r.DocumentPath)) << c.name;
    }
    EXPECT_TRUE(fp.dialogs.shown.empty());
}

TEST_F(Reader, WithoutAChosenManualItOffersTheListAndAManualPickedThereStays)
{
    installManual("orvane.pdf");
    writeFile(s.ManualsDir + "Kinemora.PDF", "%PDF-1.4 not really");
    s.ManualFile.clear();
    frmReader& r = open();
    EXPECT_EQ(r.lblReader->text(), "None selected");
    EXPECT_TRUE(r.filReader->isVisible());
    EXPECT_TRUE(r.cmdRead->isVisible());
    EXPECT_TRUE(r.lblNotice->isVisible()) << "the PDF control's about box";
    QStringList listed;
    for (int i = 0; i < r.filReader->count(); ++i)
        listed << r.filReader->item(i)->text();
    EXPECT_EQ(listed, (QStringList{"Kinemora.PDF", "orvane.pdf"}));

    r.filReader->setCurrentRow(1);
    r.filReader_Click();
    EXPECT_EQ(r.lblReader->text(), (s.ManualsDir + "orvane.pdf ").toLower());
    EXPECT_FALSE(r.filReader->isVisible());
    EXPECT_EQ(s.ManualFile, "orvane.pdf");
#ifdef ORVANE_HAVE_QTPDF
    EXPECT_TRUE(r.documentShown());
#endif
    // Coming back to the reader keeps the pick rather than asking again.
    r.Form_Activate();
    EXPECT_FALSE(r.filReader->isVisible());
    EXPECT_EQ(r.lblReader->text(), (s.ManualsDir + "orvane.pdf ").toLower());
}

TEST_F(Reader, ClickingTheWindowOrTheDocumentLabelHidesTheList)
{
    installManual("orvane.pdf");
    s.ManualFile = "orvane.pdf";
    frmReader& r = open();
    for (QWidget* target : {static_cast<QWidget*>(r.lblReader), static_cast<QWidget*>(&r)}) {
        r.cmdRead->click();
        ASSERT_TRUE(r.filReader->isVisible());
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_FALSE(r.filReader->isVisible()) << target->objectName().toStdString();
    }
}

TEST_F(Reader, ThePdfViewFollowsTheWindowSize)
{
    installManual("orvane.pdf");
    s.ManualFile = "orvane.pdf";
    frmReader& r = open();
    r.resize(twipsToPixels(12000), twipsToPixels(8000));
    settle();
    const QSize client(pixelsToTwips(r.width()), pixelsToTwips(r.height()));
    const QRect expected = twipsToPixels(readerPdfTwips(client, {}));
    EXPECT_EQ(r.pdfReader->geometry(), expected);
}
