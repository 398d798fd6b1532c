#include "RfTestFiles.h"
#include "forcedata/RfReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace rftest;

namespace
{

struct ReadOutcome {
    RfReadResult result;
    std::vector<std::string> warnings;
    std::vector<int16_t> progress;
};

ReadOutcome read(std::string_view bytes, ForceTable& table)
{
    ReadOutcome outcome{};
    RfReadCallbacks callbacks;
    callbacks.onRecord = [&](int16_t n) { outcome.progress.push_back(n); };
    callbacks.onWarning = [&](const std::string& w) { outcome.warnings.push_back(w); };
    MemoryByteSource source(bytes);
    outcome.result = readRf(source, table, callbacks);
    return outcome;
}

std::string padded(std::string text, std::size_t width)
{
    text.resize(width, ' ');
    return text;
}

const std::string NoData = "Data file contains no data or was in wrong format.";
const std::string Empty = "Data file was empty.";

} // namespace

TEST(RfReader, HeaderCardsFillTheTableAndRecordsStartAfterTheSeparator)
{
    auto table = std::make_unique<ForceTable>();
    std::vector<std::string> cards = standardHeader();
    cards.push_back(dataCard({"12.5", "-3", "700.25", "0.1", "0.2", "1.5", "0", "17"}));
    cards.push_back(dataCard({"-1", "-2", "-3", "-4", "-5", "-6", "-7", "18"}));
    const ReadOutcome outcome = read(joinCards(cards), *table);

    EXPECT_EQ(outcome.result, RfReadResult::Records);
    EXPECT_TRUE(outcome.warnings.empty());
    EXPECT_EQ(table->RecordCount, 2);
    EXPECT_EQ(outcome.progress, (std::vector<int16_t>{1, 2}));
    EXPECT_EQ(table->TrialTitle, padded("WALK01 stance phase, right foot", 40));
    EXPECT_EQ(table->SamplingRate, "500");
    EXPECT_FLOAT_EQ(table->BodyWeight, 712.5f);
    EXPECT_EQ(table->LastHeaderCard, padded(cards[2], 80));
    EXPECT_EQ(table->extraColumnName(), "Az");
    EXPECT_EQ(table->Fx[1], 12.5);
    EXPECT_EQ(table->Fy[1], -3);
    EXPECT_EQ(table->Fz[1], 700.25);
    EXPECT_EQ(table->Ax[1], 0.1);
    EXPECT_EQ(table->Ay[1], 0.2);
    EXPECT_EQ(table->Mz[1], 1.5f);
    EXPECT_EQ(table->Extra[1], 0);
    EXPECT_EQ(table->RecordNo[1], 17);
    EXPECT_EQ(table->Extra[2], -7);
    EXPECT_EQ(table->RecordNo[2], 18);
    EXPECT_EQ(table->CardStatus, 0); // the end of the file
}

TEST(RfReader, EveryLineEndReadsTheSame)
{
    // A minus sign in column 1 of a data card must survive every line end.
    std::vector<std::string> cards = standardHeader();
    cards.push_back("-123.5    " + dataCard({"", "2", "3", "4", "5", "6", "7", "1"}).substr(10));
    cards.push_back(dataCard({"1", "2", "3", "4", "5", "6", "7", "2"}));
    cards.push_back("");
    cards.push_back(dataCard({"9", "9", "9", "9", "9", "9", "9", "3"})); // after the end
    for (std::string_view lineEnd : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(lineEnd == "\r\n" ? "CR LF" : lineEnd == "\n" ? "LF" : "CR");
        auto table = std::make_unique<ForceTable>();
        read(joinCards(cards, lineEnd), *table);
        EXPECT_EQ(table->RecordCount, 2);
        EXPECT_EQ(table->Fx[1], -123.5);
        EXPECT_EQ(table->Fx[2], 1);
        EXPECT_EQ(table->RecordNo[2], 2);
        EXPECT_EQ(table->TrialTitle.substr(0, 6), "WALK01");
        EXPECT_EQ(table->LastHeaderCard, padded(cards[2], 80));
    }
}

TEST(RfReader, FilesWithoutHeader)
{
    const std::string data1 = dataCard({"1", "2", "3", "4", "5", "6", "7", "1"});
    const std::string data2 = dataCard({"8", "9", "10", "11", "12", "13", "14", "2"});
    struct Case {
        const char* name;
        std::string file;
        int16_t count;
        std::string title;
        std::string rate;
        float weight; // the previous read left 55
    } cases[] = {
        {"no title card", joinCards({data1, data2}), 2, padded("no title", 40), "0", 55},
        {"no subject card", joinCards({headerCard("RUN", "1000"), data1, data2}), 2,
         padded("RUN", 40), "1000", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto table = std::make_unique<ForceTable>();
        table->BodyWeight = 55;
        table->LastHeaderCard = padded("OLD", 80);
        const ReadOutcome outcome = read(c.file, *table);
        EXPECT_EQ(outcome.result, RfReadResult::Records);
        EXPECT_EQ(table->RecordCount, c.count);
        EXPECT_EQ(table->TrialTitle, c.title);
        EXPECT_EQ(table->SamplingRate, c.rate);
        EXPECT_EQ(table->BodyWeight, c.weight);
        EXPECT_EQ(table->LastHeaderCard, padded("OLD", 80));
        EXPECT_EQ(table->Fx[1], 1);
        EXPECT_EQ(table->Extra[2], 14);
    }
}

TEST(RfReader, FilesWithoutRecords)
{
    struct Case {
        const char* name;
        std::string file;
        RfReadResult result;
        std::string warning;
        std::string rate;
    } cases[] = {
        {"zero bytes", "", RfReadResult::Empty, Empty, "0"},
        {"an empty first line", "\r\n" + joinCards(dataCards(3)), RfReadResult::Empty, Empty, "0"},
        {"a title card alone", joinCards({headerCard("T", "250")}), RfReadResult::NoData, NoData,
         "250"},
        {"title without line end", headerCard("T", "250"), RfReadResult::NoData, NoData, "250"},
        {"title and subject", joinCards({headerCard("T"), headerCard("S", "600")}),
         RfReadResult::NoData, NoData, "0"},
        {"end of file inside the header",
         joinCards({headerCard("T", "1e3"), headerCard("S"), headerCard("H1"), headerCard("H2")}),
         RfReadResult::NoData, NoData, "1000"},
        {"separator then end", joinCards(standardHeader()), RfReadResult::NoData, NoData, "500"},
        {"empty line after the separator",
         joinCards(standardHeader()) + "\r\n" + joinCards(dataCards(2)), RfReadResult::NoData,
         NoData, "500"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto table = std::make_unique<ForceTable>();
        const ReadOutcome outcome = read(c.file, *table);
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(table->RecordCount, c.result == RfReadResult::Empty ? -1 : 0);
        EXPECT_EQ(outcome.warnings, std::vector<std::string>{c.warning});
        EXPECT_EQ(table->SamplingRate, c.rate);
        EXPECT_TRUE(outcome.progress.empty());
    }
}

TEST(RfReader, TheHeaderLoopKeepsTheLastHeaderCard)
{
    auto table = std::make_unique<ForceTable>();
    const std::vector<std::string> cards = {headerCard("T"),         headerCard("S"),
                                            headerCard("H1", "Fz2"), headerCard("H2", "  Fz2   "),
                                            "  separator",           dataCard({"1"})};
    read(joinCards(cards, "\n"), *table);
    EXPECT_EQ(table->LastHeaderCard, padded(cards[3], 80));
    EXPECT_EQ(table->extraColumnName(), "Fz2");
    EXPECT_EQ(table->RecordCount, 1);
}

TEST(RfReader, TheTableHoldsAtMost5000Records)
{
    for (int cards : {5000, 5001, 6500}) {
        SCOPED_TRACE(cards);
        auto table = std::make_unique<ForceTable>();
        std::vector<std::string> file = standardHeader();
        const std::vector<std::string> data = dataCards(cards);
        file.insert(file.end(), data.begin(), data.end());
        const ReadOutcome outcome = read(joinCards(file), *table);
        EXPECT_EQ(outcome.result, RfReadResult::Records);
        EXPECT_EQ(table->RecordCount, 5000);
        EXPECT_EQ(outcome.progress.size(), 5000u);
        EXPECT_EQ(table->RecordNo[5000], 5000);
        EXPECT_EQ(table->Fz[5000], 15000.5);
        if (cards == 5000) {
            EXPECT_TRUE(outcome.warnings.empty());
        } else {
            EXPECT_EQ(outcome.warnings,
                      std::vector<std::string>{
                          "Maximum number of force records exceeded.\nMaximum is 5000"});
        }
    }
}

TEST(RfReader, CardsAreEightyColumns)
{
    // Columns 81-100 of a long line and column 80 of any data card are ignored.
    const std::string longLine =
        dataCard({"1", "2", "3", "4", "5", "6", "7", "42"}) + "9" + std::string(20, '8');
    ASSERT_EQ(longLine.size(), 100u);
    std::vector<std::string> cards = standardHeader();
    cards.push_back(longLine);
    cards.push_back(dataCard({"-5", "", "", "", "", "", "", "43"}));
    cards.push_back(std::string(80, ' ')); // a card of blanks is a record of zeros
    cards.push_back(longLine);             // the last line, without a line end
    auto table = std::make_unique<ForceTable>();
    read(joinCards(cards).substr(0, joinCards(cards).size() - 2), *table);
    EXPECT_EQ(table->RecordCount, 4);
    EXPECT_EQ(table->RecordNo[1], 42);
    EXPECT_EQ(table->Fx[2], -5);
    EXPECT_EQ(table->RecordNo[2], 43);
    EXPECT_EQ(table->Fx[3], 0);
    EXPECT_EQ(table->RecordNo[3], 0);
    EXPECT_EQ(table->RecordNo[4], 42);
}

TEST(RfReader, FieldsConvertLeniently)
{
    struct Case {
        const char* field;
        double value;
    } cases[] = {
        {"  1 234.5", 1234.5}, {"abc", 0},     {"", 0},        {"-1.5E2", -150},
        {"2.5D-1", 0.25},      {"1.5.3", 1.5}, {"\t-\t7", -7}, {"12abc", 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        auto table = std::make_unique<ForceTable>();
        read(joinCards({dataCard({"", "", c.field, "", "", c.field, "", "1"})}), *table);
        EXPECT_EQ(table->Fz[1], c.value);
        EXPECT_EQ(table->Mz[1], static_cast<float>(c.value));
    }
}

TEST(RfReader, RecordNumbersRoundToEvenAndStayInSixteenBits)
{
    struct Case {
        const char* field;
        int16_t number;
    } cases[] = {
        {"12.5", 12},       {"13.5", 14},       {"-0.5", 0},        {"-1.5", -2},
        {"2.4999", 2},      {"32767", 32767},   {"32767.5", 32767}, {"40000", 32767},
        {"-32768", -32768}, {"-99999", -32768}, {"1E99", 32767},    {"-1D300", -32768},
        {"x", 0},
    };
    std::vector<std::string> cards;
    for (const Case& c : cases)
        cards.push_back(dataCard({"1", "", "", "", "", "", "", c.field}));
    auto table = std::make_unique<ForceTable>();
    read(joinCards(cards), *table);
    ASSERT_EQ(table->RecordCount, static_cast<int16_t>(std::size(cases)));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(table->RecordNo[i + 1], cases[i].number) << cases[i].field;
}

TEST(RfReader, OutOfRangeNumbersBecomeInfinities)
{
    auto table = std::make_unique<ForceTable>();
    read(joinCards({headerCard("T", "1E999"), headerCard("S", "-1E999"), "",
                    dataCard({"1E999", "-1D999", "1E-999", "", "", "1E300", "-1E39", "1"})}),
         *table);
    EXPECT_EQ(table->SamplingRate, "inf");
    EXPECT_EQ(table->samplingRateHz(), 0);
    EXPECT_TRUE(std::isinf(table->BodyWeight) && table->BodyWeight < 0);
    EXPECT_EQ(table->Fx[1], INFINITY);
    EXPECT_EQ(table->Fy[1], -INFINITY);
    EXPECT_EQ(table->Fz[1], 0);
    EXPECT_EQ(table->Mz[1], INFINITY);
    EXPECT_EQ(table->Extra[1], -1e39);
}

TEST(RfReader, TheSeventhColumnIsNamedByTheLastHeaderCard)
{
    struct Case {
        std::string card;
        std::string name;
    } cases[] = {
        {headerCard("H", "Ay"), "Az"},   {headerCard("H", " Ay  "), "Az"},
        {headerCard("H", "Fz2"), "Fz2"}, {headerCard("H", "Ay2"), "Ay2"},
        {headerCard("H", ""), "Extra"},  {"", "Extra"},
        {std::string(65, 'x'), "xxxxx"},
    };
    auto table = std::make_unique<ForceTable>();
    for (const Case& c : cases) {
        table->LastHeaderCard = c.card;
        EXPECT_EQ(table->extraColumnName(), c.name) << c.card;
    }
}

TEST(RfReader, SamplingRateForComputing)
{
    auto table = std::make_unique<ForceTable>();
    for (auto [text, hz] : {std::pair{"500", 500.0},
                            {"", 0.0},
                            {"abc", 0.0},
                            {" 1 000.5", 1000.5},
                            {"inf", 0.0},
                            {"1E999", 0.0}}) {
        table->SamplingRate = text;
        EXPECT_EQ(table->samplingRateHz(), hz) << text;
    }
}

namespace
{

// Hands the bytes out in small pieces, so line ends fall across chunk borders.
class TrickleSource : public ByteSource
{
public:
    TrickleSource(std::string_view bytes, std::size_t piece) : m_bytes(bytes), m_piece(piece) {}
    std::string_view nextChunk() override
    {
        const std::string_view chunk = m_bytes.substr(0, m_piece);
        m_bytes.remove_prefix(chunk.size());
        return chunk;
    }

private:
    std::string_view m_bytes;
    std::size_t m_piece;
};

} // namespace

TEST(CardReader, LineEndsAcrossChunkBordersReadAsInOnePiece)
{
    const std::string bytes = "A\r\n\r\nB\r\rC\n\nD\r" + std::string(85, 'x') + "\r\nE";
    struct Card {
        std::string text;
        int16_t status;
    };
    const std::vector<Card> expected = {{"A", 1}, {"", 0}, {"B", 1}, {"", 0},
                                        {"C", 1}, {"", 0}, {"D", 1}, {std::string(80, 'x'), 80},
                                        {"E", 1}};
    for (std::size_t piece : {1, 2, 3, 7, 1000}) {
        SCOPED_TRACE(piece);
        TrickleSource source(bytes, piece);
        CardReader reader(source);
        std::string card;
        int16_t status = -1;
        for (const Card& e : expected) {
            ASSERT_TRUE(reader.readCard(card, status));
            EXPECT_EQ(card, e.text);
            EXPECT_EQ(status, e.status);
        }
        EXPECT_FALSE(reader.readCard(card, status));
        EXPECT_EQ(status, 0);
        EXPECT_EQ(card, "");
    }
}

namespace
{

class TempDir
{
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "rfreaderXXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
    }
    ~TempDir() { std::filesystem::remove_all(m_path); }
    std::string file(const std::string& name, std::string_view bytes) const
    {
        const std::string path = m_path + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace

TEST(FileByteSource, OpenReportsThePlatformErrorNumbers)
{
    TempDir dir;
    const std::string present = dir.file("WALK01.RF", "x");
    struct Case {
        std::string path;
        int16_t error;
        std::string text;
    } cases[] = {
        {present, 0, ""},
        {dir.path() + "/missing.rf", 53, "File not found"},
        {dir.path() + "/nodir/missing.rf", 76, "Path not found"},
        {present + "/below.rf", 76, "Path not found"},
        {dir.path(), 75, "Path/File access error"},
        {"", 52, "Bad file name or number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        FileByteSource file;
        EXPECT_EQ(file.open(c.path), c.error);
        EXPECT_EQ(file.isOpen(), c.error == 0);
        EXPECT_EQ(openForReadingError(c.path), c.error);
        if (c.error != 0) {
            EXPECT_EQ(fileErrorText(c.error), c.text);
        }
    }
    if (::geteuid() != 0) {
        std::filesystem::permissions(present, std::filesystem::perms::none);
        EXPECT_EQ(openForReadingError(present), 70);
        EXPECT_EQ(fileErrorText(70), "Permission denied");
    }
}

TEST(FileByteSource, ReadsAFileLargerThanOneBlockAsMemoryDoes)
{
    TempDir dir;
    std::vector<std::string> cards = standardHeader();
    const std::vector<std::string> data = dataCards(2000); // about 160 kB
    cards.insert(cards.end(), data.begin(), data.end());
    const std::string bytes = joinCards(cards);
    ASSERT_GT(bytes.size(), 2 * FileByteSource::BlockSize);

    auto fromMemory = std::make_unique<ForceTable>();
    read(bytes, *fromMemory);
    auto fromFile = std::make_unique<ForceTable>();
    FileByteSource file;
    ASSERT_EQ(file.open(dir.file("LONG.RF", bytes)), 0);
    EXPECT_EQ(readRf(file, *fromFile), RfReadResult::Records);
    EXPECT_EQ(fromFile->RecordCount, 2000);
    EXPECT_EQ(fromFile->Fz, fromMemory->Fz);
    EXPECT_EQ(fromFile->RecordNo, fromMemory->RecordNo);
}
