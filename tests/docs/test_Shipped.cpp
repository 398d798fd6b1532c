// What the build puts beside the program for the Help menu and the reader.

#include "DocsFixture.h"
#include "docs/DocsRules.h"

#include <QIcon>

#ifdef ORVANE_HAVE_QTPDF
#include <QPdfDocument>
#endif

TEST(Shipped, HelpTextsAreThereAndFitTheViewer)
{
    for (const HelpItem& item : HelpItems) {
        QFile file(QStringLiteral(ORVANE_PROGRAM_DIR) + "/" + item.shown);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << item.shown;
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(viewerFit(bytes), ViewerFit::Fits) << item.shown;
        EXPECT_GT(bytes.size(), 1000) << item.shown << " holds real content";
    }
}

TEST(Shipped, ManualIsARealPdfOfSeveralPages)
{
#ifdef ORVANE_HAVE_QTPDF
    QPdfDocument manual;
    ASSERT_EQ(manual.load(builtManual()), QPdfDocument::Error::None);
    EXPECT_GE(manual.pageCount(), 5);
    EXPECT_EQ(manual.metaData(QPdfDocument::MetaDataField::Title).toString(),
              "Orvane User's Manual");
#else
    GTEST_SKIP() << "built without Qt PDF";
#endif
}

TEST(Shipped, ProgramIconIsInTheResources)
{
    EXPECT_FALSE(QIcon(":/orvane/orvane.png").pixmap(32, 32).isNull());
}
