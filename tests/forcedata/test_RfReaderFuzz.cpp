// Random and truncated force files: the read always ends in one of its three
// outcomes with a consistent table, and reads the same however the bytes arrive.

#include "RfTestFiles.h"
#include "core/NumberText.h"
#include "forcedata/RfReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <random>

using namespace rftest;

namespace
{

class PieceSource : public ByteSource
{
public:
    PieceSource(std::string_view bytes, std::mt19937& random) : m_bytes(bytes), m_random(random) {}
    std::string_view nextChunk() override
    {
        const std::size_t piece = std::uniform_int_distribution<std::size_t>(1, 64)(m_random);
        const std::string_view chunk = m_bytes.substr(0, piece);
        m_bytes.remove_prefix(chunk.size());
        return chunk;
    }

private:
    std::string_view m_bytes;
    std::mt19937& m_random;
};

struct Read {
    ForceTable* table = nullptr;
    RfReadResult result{};
    std::vector<std::string> warnings;
    std::vector<int16_t> progress;
};

// Tables are reused from read to read, as the program does.
Read readWith(ByteSource& source, ForceTable& table)
{
    Read r;
    r.table = &table;
    RfReadCallbacks callbacks;
    callbacks.onRecord = [&](int16_t n) { r.progress.push_back(n); };
    callbacks.onWarning = [&](const std::string& w) { r.warnings.push_back(w); };
    r.result = readRf(source, *r.table, callbacks);
    return r;
}

void expectConsistent(const Read& r)
{
    const ForceTable& t = *r.table;
    ASSERT_GE(t.RecordCount, -1);
    ASSERT_LE(t.RecordCount, ForceTable::RecordCapacity);
    switch (r.result) {
    case RfReadResult::Empty:
        EXPECT_EQ(t.RecordCount, -1);
        EXPECT_EQ(r.warnings, std::vector<std::string>{std::string(RfWarningEmpty)});
        break;
    case RfReadResult::NoData:
        EXPECT_EQ(t.RecordCount, 0);
        EXPECT_EQ(r.warnings, std::vector<std::string>{std::string(RfWarningNoData)});
        break;
    case RfReadResult::Records:
        EXPECT_GE(t.RecordCount, 1);
        EXPECT_LE(r.warnings.size(), 1u);
        break;
    }
    ASSERT_EQ(r.progress.size(), static_cast<std::size_t>(std::max<int>(t.RecordCount, 0)));
    for (std::size_t i = 0; i < r.progress.size(); ++i)
        ASSERT_EQ(r.progress[i], static_cast<int16_t>(i + 1));
    EXPECT_EQ(t.TrialTitle.size(), ForceTable::TitleWidth);
    EXPECT_TRUE(t.LastHeaderCard.empty() || t.LastHeaderCard.size() == ForceTable::CardWidth);
    EXPECT_GE(t.CardStatus, 0);
    EXPECT_LE(t.CardStatus, 80);
    EXPECT_FALSE(t.SamplingRate.empty());
}

void expectSameTable(const ForceTable& a, const ForceTable& b)
{
    EXPECT_EQ(a.RecordCount, b.RecordCount);
    EXPECT_EQ(a.TrialTitle, b.TrialTitle);
    EXPECT_EQ(a.SamplingRate, b.SamplingRate);
    EXPECT_EQ(a.BodyWeight, b.BodyWeight);
    EXPECT_EQ(a.LastHeaderCard, b.LastHeaderCard);
    for (int i = 1; i <= a.RecordCount && i <= b.RecordCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        ASSERT_TRUE(a.Fx[k] == b.Fx[k] && a.Fy[k] == b.Fy[k] && a.Fz[k] == b.Fz[k] &&
                    a.Ax[k] == b.Ax[k] && a.Ay[k] == b.Ay[k] && a.Mz[k] == b.Mz[k] &&
                    a.Extra[k] == b.Extra[k] && a.RecordNo[k] == b.RecordNo[k])
            << "record " << i;
    }
}

// Mostly the bytes a force file is made of, with some of any kind.
std::string randomBytes(std::mt19937& random, std::size_t length)
{
    static constexpr std::string_view Common = "0123456789     ..--+EeDd\r\n\r\n\t";
    std::string bytes(length, ' ');
    for (char& c : bytes) {
        if (random() % 8 == 0)
            c = static_cast<char>(random() % 256);
        else
            c = Common[random() % Common.size()];
    }
    return bytes;
}

} // namespace

TEST(RfReaderFuzz, RandomBytes)
{
    std::mt19937 random(7);
    auto wholeTable = std::make_unique<ForceTable>();
    auto piecesTable = std::make_unique<ForceTable>();
    for (int i = 0; i < 1500; ++i) {
        const std::string bytes = randomBytes(random, random() % 4000);
        MemoryByteSource whole(bytes);
        const Read a = readWith(whole, *wholeTable);
        expectConsistent(a);
        PieceSource pieces(bytes, random);
        const Read b = readWith(pieces, *piecesTable);
        expectSameTable(*a.table, *b.table);
        if (HasFailure())
            FAIL() << "input " << i;
    }
}

TEST(RfReaderFuzz, TruncatedFilesKeepEveryCompleteRecord)
{
    std::vector<std::string> cards = standardHeader();
    const std::vector<std::string> data = dataCards(12);
    cards.insert(cards.end(), data.begin(), data.end());
    for (std::string_view lineEnd : {"\r\n", "\n", "\r"}) {
        const std::string file = joinCards(cards, lineEnd);
        MemoryByteSource source(file);
        auto fullTable = std::make_unique<ForceTable>();
        auto table = std::make_unique<ForceTable>();
        const Read full = readWith(source, *fullTable);
        ASSERT_EQ(full.table->RecordCount, 12);
        for (std::size_t length = 0; length <= file.size(); ++length) {
            MemoryByteSource prefix(std::string_view(file).substr(0, length));
            const Read r = readWith(prefix, *table);
            expectConsistent(r);
            const ForceTable& t = *r.table;
            ASSERT_LE(t.RecordCount, 12);
            // Every record but a cut last one is the same as in the whole file.
            for (int i = 1; i < t.RecordCount; ++i) {
                const auto k = static_cast<std::size_t>(i);
                ASSERT_EQ(t.Fx[k], full.table->Fx[k]) << length;
                ASSERT_EQ(t.RecordNo[k], full.table->RecordNo[k]) << length;
            }
            if (length == file.size() - lineEnd.size()) {
                EXPECT_EQ(t.RecordCount, 12) << "a last card without line end is a record";
            }
        }
    }
}

TEST(RfReaderFuzz, FieldsConvertAsTheLenientRuleSays)
{
    // The reader's quick path for plain fields must agree with the general rule.
    static constexpr std::string_view Alphabet = "0123456789      ..-+EDx\t";
    std::mt19937 random(11);
    auto table = std::make_unique<ForceTable>();
    for (int round = 0; round < 20; ++round) {
        std::vector<std::string> fields;
        std::string file;
        for (int card = 0; card < 100; ++card) {
            std::string line = " "; // a blank column 1: no header
            for (int f = 0; f < 7; ++f) {
                std::string field(10, ' ');
                if (random() % 2 == 0) {
                    // A plain number as programs write them, up to ten columns.
                    char text[32];
                    const double value = std::ldexp(static_cast<double>(random()) - 2147483648.0,
                                                    -static_cast<int>(random() % 40));
                    std::snprintf(text, sizeof text, "%10.*f", static_cast<int>(random() % 9),
                                  value);
                    field = std::string(text).substr(0, 10);
                } else {
                    for (char& c : field)
                        c = Alphabet[random() % Alphabet.size()];
                }
                if (f == 0)
                    field[0] = ' ';
                fields.push_back(field);
                line += field.substr(f == 0 ? 1 : 0);
            }
            file += line + "\r\n";
        }
        MemoryByteSource source(file);
        readRf(source, *table);
        ASSERT_EQ(table->RecordCount, 100);
        for (std::size_t r = 0; r < 100; ++r) {
            const std::string* f = &fields[r * 7];
            const std::size_t k = r + 1;
            ASSERT_EQ(table->Fx[k], lenientNumber(f[0])) << f[0];
            ASSERT_EQ(table->Fy[k], lenientNumber(f[1])) << f[1];
            ASSERT_EQ(table->Fz[k], lenientNumber(f[2])) << f[2];
            ASSERT_EQ(table->Ax[k], lenientNumber(f[3])) << f[3];
            ASSERT_EQ(table->Ay[k], lenientNumber(f[4])) << f[4];
            ASSERT_EQ(table->Extra[k], lenientNumber(f[6])) << f[6];
        }
    }
}
