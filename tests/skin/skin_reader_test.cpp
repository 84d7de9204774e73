// The skin reader: archives written with zlib (stored, fixed and dynamic
// blocks, with and without encryption) are read back exactly; damaged,
// foreign and hostile files are refused without reading outside the input.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <random>

#include "platform/core/files.h"
#include "platform/gfx/image_io.h"
#include "skin/kiv_inflate.h"
#include "skin/kiv_skin_reader.h"
#include "tests/skin/crafted_skins.h"
#include "tools/skin-pack/skin_pack.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using skinpack::ArchiveOptions;
using skinpack::Record;

TBitmap TestBitmap()
{
    TBitmap b(5, 3, clWhite);
    b.SetPixel(0, 0, clRed);
    b.SetPixel(4, 2, clMagenta);
    return b;
}

std::vector<Record> SampleRecords()
{
    return {
        skinpack::BitmapRecord("SKIN2_BUTTON", TestBitmap()),
        skinpack::IntegerRecord("SKIN2_FORMCOLOR", 0xE8E8E8),
        skinpack::IntegerRecord("SKIN2_TITLEBARBUTTONPOSX", -3),
        skinpack::BoolRecord("SKIN2_BUTTONTRANS", true),
        skinpack::StringRecord("SKIN2_AUTHOR", "velmora"),
        skinpack::IntegerRecord("SKIN2_FORMCOLOR", 0x123456),  // a second record of one name
    };
}

// Archive options with a few fields changed.
template <class F>
ArchiveOptions With(F change)
{
    ArchiveOptions o;
    change(o);
    return o;
}

Bytes SampleArchive(const ArchiveOptions& options = {})
{
    return skinpack::BuildArchive(skinpack::BuildPayload(SampleRecords()), options);
}

void ExpectSampleValues(const Tsk2SkinFileReader& reader)
{
    ASSERT_TRUE(reader.Ready());
    EXPECT_EQ(reader.GetInteger("skin2_formcolor"), 0xE8E8E8);
    EXPECT_EQ(reader.GetInteger("SKIN2_TITLEBARBUTTONPOSX"), -3);
    EXPECT_EQ(reader.GetBool("SKIN2_BUTTONTRANS"), 1);
    EXPECT_EQ(reader.GetString("SKIN2_AUTHOR"), "velmora");
    const TBitmap* bitmap = reader.GetBitmap("Skin2_Button");
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Width(), 5);
    EXPECT_EQ(bitmap->Pixel(0, 0), clRed);
    EXPECT_EQ(bitmap->Pixel(4, 2), clMagenta);
    // Missing names.
    EXPECT_EQ(reader.GetInteger("SKIN2_TITLEBAR4"), -1);
    EXPECT_EQ(reader.GetBool("SKIN2_TITLEFIVESECT"), 0);
    EXPECT_EQ(reader.GetBitmap("SKIN2_TITLEBAR4"), nullptr);
    EXPECT_EQ(reader.GetInteger("SKIN2_BUTTON"), -1);  // a bitmap, not an integer
}

TEST(SkinReader, ReadsArchivesOfEveryBlockKindWithAndWithoutPassword)
{
    struct Case {
        const char* what;
        ArchiveOptions options;
        std::string password;
    } cases[] = {
        {"dynamic blocks", {}, ""},
        {"stored blocks", With([](auto& o) { o.level = 0; }), ""},
        {"fixed codes", With([](auto& o) { o.fixedCodes = true; }), ""},
        {"encrypted, CRC check", With([](auto& o) { o.password = "k@r4oke"; }), "k@r4oke"},
        {"encrypted, time check", With([](auto& o) {
             o.password = "pw";
             o.checkByTime = true;
         }),
         "pw"},
        {"stored and encrypted", With([](auto& o) {
             o.level = 0;
             o.password = "pw";
         }),
         "pw"},
        {"a password for a plain entry is ignored", {}, "unused"},
        {"other entries first, name in lower case", With([](auto& o) {
             o.entryName = "skindata.sk2";
             o.otherEntries = {"readme.txt", "SKINDATA.SK"};
         }),
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes archive = SampleArchive(c.options);
        Tsk2SkinFileReader reader(archive, c.password);
        ExpectSampleValues(reader);
    }
}

TEST(SkinReader, PasswordProblemsLoadNothingAndRaiseNothing)
{
    const Bytes archive = SampleArchive(With([](auto& o) { o.password = "right"; }));
    Bytes out;
    EXPECT_EQ(skin::ExtractSkinEntry(archive, "SKINDATA.SK2", "", out), skin::kExtractRefused);
    EXPECT_EQ(skin::ExtractSkinEntry(archive, "SKINDATA.SK2", "wrong", out), skin::kExtractRefused);
    EXPECT_TRUE(out.empty());
    Tsk2SkinFileReader reader(archive, "wrong");
    EXPECT_FALSE(reader.Ready());
    EXPECT_EQ(reader.GetInteger("SKIN2_FORMCOLOR"), -1);
}

TEST(SkinReader, ForeignFilesAreRefusedAsUnreadable)
{
    Bytes zip = SampleArchive();
    zip[0] = 'P';  // an ordinary ZIP archive
    Bytes comment = SampleArchive();
    comment[comment.size() - 2] = 4;  // the end record says a comment follows
    Bytes tooShort = {'S', 'K', 3, 4};
    struct Case {
        const char* what;
        Bytes archive;
        const char* entry;
    } cases[] = {
        {"PK magic", zip, "SKINDATA.SK2"},
        {"comment length", comment, "SKINDATA.SK2"},
        {"shorter than an end record", tooShort, "SKINDATA.SK2"},
        {"empty", {}, "SKINDATA.SK2"},
        {"no such entry", SampleArchive(), "OTHER.SK2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes out;
        EXPECT_EQ(skin::ExtractSkinEntry(c.archive, c.entry, "", out), skin::kExtractFailed);
        EXPECT_TRUE(out.empty());
    }
    EXPECT_THROW(Tsk2SkinFileReader(zip, ""), skin::SkinReadError);
    try {
        Tsk2SkinFileReader reader(tooShort, "");
    } catch (const skin::SkinReadError& e) {
        EXPECT_STREQ(e.what(), "Failed to read skin file!");
    }
}

// The offset of the (last) central directory entry.
std::size_t CentralEntryAt(const Bytes& a)
{
    for (std::size_t i = a.size() - 22; i-- > 0;)
        if (a[i] == 'P' && a[i + 1] == 'K' && a[i + 2] == 1 && a[i + 3] == 2) return i;
    return 0;
}

void Put32(Bytes& a, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) a[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

TEST(SkinReader, SizeProblemsAreRefused)
{
    Bytes out;
    Bytes wrongSize = SampleArchive();
    const std::size_t central = CentralEntryAt(wrongSize);
    ASSERT_NE(central, 0u);
    Put32(wrongSize, central + 24, 100);  // fewer bytes than the stream holds
    EXPECT_EQ(skin::ExtractSkinEntry(wrongSize, "SKINDATA.SK2", "", out), skin::kExtractRefused);
    Put32(wrongSize, central + 24, 1u << 31);  // a hostile size is not believed
    EXPECT_EQ(skin::ExtractSkinEntry(wrongSize, "SKINDATA.SK2", "", out), skin::kExtractRefused);
    Bytes longName = SampleArchive();
    longName[CentralEntryAt(longName) + 28] = 0x04;  // a name of 260+ bytes
    longName[CentralEntryAt(longName) + 29] = 0x01;
    EXPECT_EQ(skin::ExtractSkinEntry(longName, "SKINDATA.SK2", "", out), skin::kExtractFailed);
    Bytes badLocal = SampleArchive();
    Put32(badLocal, CentralEntryAt(badLocal) + 42, 0xFFFFFF00u);
    EXPECT_NE(skin::ExtractSkinEntry(badLocal, "SKINDATA.SK2", "", out), skin::kExtractOk);
}

TEST(SkinReader, DamagedArchivesNeverReadOutsideTheirBytes)
{
    const Bytes good = SampleArchive(With([](auto& o) { o.password = "pw"; }));
    Bytes out;
    for (std::size_t len = 0; len < good.size(); ++len) {
        const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(len));
        EXPECT_NE(skin::ExtractSkinEntry(cut, "SKINDATA.SK2", "pw", out), skin::kExtractOk) << len;
    }
    std::mt19937 random(7);
    for (const Bytes& base : {good, SampleArchive()}) {
        for (int round = 0; round < 3000; ++round) {
            Bytes bad = base;
            for (int k = 0; k < 3; ++k)
                bad[random() % bad.size()] ^= static_cast<std::uint8_t>(1 + random() % 255);
            const int result = skin::ExtractSkinEntry(bad, "SKINDATA.SK2", "pw", out);
            if (result == skin::kExtractOk) {
                EXPECT_FALSE(out.empty());
            }
            try {
                Tsk2SkinFileReader reader(bad, "pw");
            } catch (const skin::SkinReadError&) {}
        }
    }
}

Bytes ZlibDeflate(const Bytes& data, int level, int strategy)
{
    z_stream z{};
    deflateInit2(&z, level, Z_DEFLATED, -15, 8, strategy);
    Bytes out(deflateBound(&z, data.size()) + 16);
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

TEST(SkinInflate, DecodesWhatZlibWrites)
{
    std::mt19937 random(11);
    std::vector<Bytes> inputs;
    inputs.push_back({});
    inputs.push_back(Bytes(100000, 'a'));  // long overlapping copies
    Bytes text;
    for (int i = 0; i < 5000; ++i) {
        const std::string word = "lyric " + std::to_string(i % 97) + (i % 5 ? " la" : "\n");
        text.insert(text.end(), word.begin(), word.end());
    }
    inputs.push_back(text);
    Bytes noise(70000);
    for (auto& b : noise) b = static_cast<std::uint8_t>(random());
    inputs.push_back(noise);
    for (const Bytes& input : inputs)
        for (int level : {0, 1, 6, 9})
            for (int strategy : {Z_DEFAULT_STRATEGY, Z_FIXED, Z_HUFFMAN_ONLY, Z_RLE}) {
                const Bytes packed = ZlibDeflate(input, level, strategy);
                Bytes out;
                ASSERT_EQ(skin::Inflate(packed, out, input.size()), skin::InflateStatus::Ok)
                    << input.size() << " bytes, level " << level << ", strategy " << strategy;
                ASSERT_EQ(out, input);
            }
}

TEST(SkinInflate, StreamEdgeCases)
{
    struct Case {
        const char* what;
        Bytes stream;
        std::size_t limit;
        skin::InflateStatus status;
        std::string output;
    } cases[] = {
        {"a stored block of length 0, then a final one",
         {0x00, 0, 0, 0xFF, 0xFF, 0x01, 2, 0, 0xFD, 0xFF, 'h', 'i'},
         10,
         skin::InflateStatus::Ok,
         "hi"},
        {"a reserved block type is passed over",
         {0x06 | 0x08, 2, 0, 0xFD, 0xFF, 'o', 'k'},
         10,
         skin::InflateStatus::Ok,
         "ok"},
        {"stored data cut short", {0x01, 5, 0, 0xFA, 0xFF, 'a', 'b'}, 10, skin::InflateStatus::Damaged, ""},
        {"more output than allowed",
         {0x01, 4, 0, 0xFB, 0xFF, 'a', 'b', 'c', 'd'},
         3,
         skin::InflateStatus::TooLarge,
         ""},
        {"no final block", {0x00, 0, 0, 0xFF, 0xFF}, 10, skin::InflateStatus::Damaged, ""},
        {"empty input", {}, 10, skin::InflateStatus::Damaged, ""},
    };
    for (const Case& c : cases) {
        Bytes out;
        EXPECT_EQ(skin::Inflate(c.stream, out, c.limit), c.status) << c.what;
        if (c.status == skin::InflateStatus::Ok) {
            EXPECT_EQ(std::string(out.begin(), out.end()), c.output) << c.what;
        }
    }
    // A fixed block whose first symbol is a copy (distance 1, nothing before).
    // 0b1 (final), 0b01 (fixed), then length code 257 = 0000001 (7 bits), distance 0 = 00000.
    Bytes copyFirst = {0x03, 0x02, 0x00, 0x00};
    Bytes out;
    EXPECT_EQ(skin::Inflate(copyFirst, out, 100), skin::InflateStatus::Damaged);
}

TEST(SkinHuffman, RejectsOverSubscribedCodes)
{
    skin::THuffmanTree tree;
    const std::uint8_t over[] = {1, 1, 1};
    EXPECT_FALSE(tree.Build(over));
    const std::uint8_t tooLong[] = {16, 1};
    EXPECT_FALSE(tree.Build(tooLong));
    const std::uint8_t incomplete[] = {2, 0, 1};  // one code of 2 bits left unused
    ASSERT_TRUE(tree.Build(incomplete));
    const std::uint8_t bits[] = {0b11};
    skin::BitReader in(bits);
    int symbol = 0, extra = 0;
    EXPECT_FALSE(tree.Decode(in, symbol, extra));
}

Bytes PayloadHeader(std::uint32_t firstRecord)
{
    Bytes p(24, 0);
    std::memcpy(p.data(), "TAVRIXON_SK2", 12);
    Put32(p, 12, 24);
    Put32(p, 16, 2);
    Put32(p, 20, firstRecord);
    return p;
}

void AddRecord(Bytes& p, const std::string& name, std::uint8_t kind, std::uint32_t offset, std::uint32_t size,
               std::uint32_t next)
{
    const std::size_t at = p.size();
    p.resize(at + 77, 0);
    std::memcpy(p.data() + at, name.data(), name.size());
    p[at + 64] = kind;
    Put32(p, at + 65, offset);
    Put32(p, at + 69, size);
    Put32(p, at + 73, next);
}

TEST(SkinPayload, RecordChainsAreCheckedRecordByRecord)
{
    Tsk2SkinFileReader reader(SampleArchive(), "");
    struct Case {
        const char* what;
        Bytes payload;
        bool ready;
    } cases[] = {
        {"only a terminator",
         [] {
             Bytes p = PayloadHeader(24);
             AddRecord(p, "", 2, 0, 0, 0);
             return p;
         }(),
         true},
        {"a kind this reader does not know is skipped",
         [] {
             Bytes p = PayloadHeader(24);
             AddRecord(p, "X", 9, 0, 4, 101);
             AddRecord(p, "", 2, 0, 0, 0);
             return p;
         }(),
         true},
        {"an integer of 3 bytes",
         [] {
             Bytes p = PayloadHeader(24);
             AddRecord(p, "X", 1, 0, 3, 101);
             AddRecord(p, "", 2, 0, 0, 0);
             return p;
         }(),
         false},
        {"a boolean of 4 bytes",
         [] {
             Bytes p = PayloadHeader(24);
             AddRecord(p, "X", 2, 0, 4, 101);
             AddRecord(p, "", 2, 0, 0, 0);
             return p;
         }(),
         false},
        {"data beyond the payload",
         [] {
             Bytes p = PayloadHeader(24);
             AddRecord(p, "X", 3, 150, 60, 101);
             AddRecord(p, "", 2, 0, 0, 0);
             return p;
         }(),
         false},
        {"a chain that loops",
         [] {
             Bytes p = PayloadHeader(24);
             AddRecord(p, "X", 1, 0, 4, 24);
             return p;
         }(),
         false},
        {"a record cut short",
         [] {
             Bytes p = PayloadHeader(24);
             p.resize(60);
             return p;
         }(),
         false},
        {"a first record beyond the end", PayloadHeader(0xFFFFFFF0u), false},
        {"a broken bitmap",
         [] {
             Bytes p = PayloadHeader(24);
             AddRecord(p, "B", 0, 0, 24, 101);
             AddRecord(p, "", 2, 0, 0, 0);
             return p;
         }(),
         false},
        {"no header", Bytes(10, 0), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(reader.LoadPayload(c.payload), c.ready) << c.what;
        EXPECT_EQ(reader.Ready(), c.ready) << c.what;
        EXPECT_EQ(reader.GetInteger("SKIN2_FORMCOLOR"), -1) << c.what;  // nothing of before is kept
    }
    // A 64-byte name without a NUL.
    Bytes p = PayloadHeader(24);
    const std::string longName(64, 'N');
    AddRecord(p, longName, 1, 0, 4, 101);
    AddRecord(p, "", 2, 0, 0, 0);
    ASSERT_TRUE(reader.LoadPayload(p));
    EXPECT_EQ(reader.GetInteger(longName), 0x5256'4154);  // "TAVR" of the magic, at offset 0
}

TEST(SkinReader, FileFormsLeaveNoOutputBehindOnFailure)
{
    core::TempDir dir;
    const auto archive = dir.Path() / "blue.skn";
    const auto output = dir.Path() / "payload";
    const Bytes bytes = SampleArchive(With([](auto& o) { o.password = "pw"; }));
    gfx::WriteFileBytes(archive, bytes);
    EXPECT_EQ(skin::ExtractSkinEntry(archive, "SKINDATA.SK2", output, "nope"), skin::kExtractRefused);
    EXPECT_FALSE(core::FileExists(output));
    EXPECT_EQ(skin::ExtractSkinEntry(dir.Path() / "missing.skn", "SKINDATA.SK2", output, ""),
              skin::kExtractFailed);
    EXPECT_EQ(skin::ExtractSkinEntry(archive, "SKINDATA.SK2", output, "pw"), skin::kExtractOk);
    EXPECT_EQ(core::FileSizeOf(output), skinpack::BuildPayload(SampleRecords()).size());
    ExpectSampleValues(Tsk2SkinFileReader(archive, "pw"));
    EXPECT_THROW(Tsk2SkinFileReader(dir.Path() / "missing.skn", ""), skin::SkinReadError);
}

TEST(SkinBudget, RecordsThatShareOneRangeShareOneBitmap)
{
    // 200 records over one 2048 x 2048 picture: 200 bitmaps of it would be
    // 12 times the budget; one is a sixteenth of it.
    const Bytes big = skintest::OneBitBmp(2048, 2048);
    const Bytes small = skintest::OneBitBmp(3, 2);
    Tsk2SkinFileReader reader;
    ASSERT_TRUE(reader.LoadPayload(skintest::ManyOverOne(200, {big, small})));
    const TBitmap* first = reader.GetBitmap("B0");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Width(), 2048);
    EXPECT_EQ(first->Pixel(2047, 2047), clWhite);
    for (const char* name : {"B1", "b77", "B199"}) EXPECT_EQ(reader.GetBitmap(name), first) << name;
    const TBitmap* other = reader.GetBitmap("D1");
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other, first);
    EXPECT_EQ(other->Width(), 3);

    // Through the archive as well.
    Tsk2SkinFileReader archived(skinpack::BuildArchive(skintest::ManyOverOne(200, {big})), "");
    ASSERT_TRUE(archived.Ready());
    EXPECT_EQ(archived.GetBitmap("B3"), archived.GetBitmap("B150"));
}

TEST(SkinBudget, SkinsBeyondTheBudgetOrTheSideBoundAreRefusedFromTheirHeaders)
{
    using skintest::OneBitBmp;
    const Bytes quarter = OneBitBmp(4096, 4096);  // a quarter of the budget
    struct Case {
        const char* what;
        Bytes payload;
        bool ready;
    } cases[] = {
        {"four quarters in ranges of their own and one pixel more",
         skintest::SharedRangePayload({{"B0", 0}, {"B1", 1}, {"B2", 2}, {"B3", 3}, {"B4", 4}},
                                      {quarter, quarter, quarter, quarter, OneBitBmp(1, 1)}),
         false},
        {"at the side bound", skintest::ManyOverOne(1, {OneBitBmp(4096, 1), OneBitBmp(1, -4096)}), true},
        {"one wider than the side bound", skintest::ManyOverOne(1, {OneBitBmp(4097, 1)}), false},
        {"one higher than the side bound", skintest::ManyOverOne(1, {OneBitBmp(1, 4097)}), false},
        {"one higher, top-down", skintest::ManyOverOne(1, {OneBitBmp(1, -4097)}), false},
        // Headers alone that claim huge pictures: refused from the header,
        // so no buffer of that size is ever asked for.
        {"huge sides, no pixels", skintest::ManyOverOne(1, {OneBitBmp(100000, 100000, false)}), false},
        {"the largest side of the decoder, no pixels",
         skintest::ManyOverOne(1, {OneBitBmp(16384, 4096, false)}), false},
        {"negative width", skintest::ManyOverOne(1, {OneBitBmp(-5, 5, false)}), false},
    };
    for (const Case& c : cases) {
        Tsk2SkinFileReader reader;
        EXPECT_EQ(reader.LoadPayload(c.payload), c.ready) << c.what;
        EXPECT_EQ(reader.Ready(), c.ready) << c.what;
        EXPECT_EQ(reader.GetBitmap("B0") != nullptr, c.ready) << c.what;
    }
}

TEST(SkinBudget, StringsCountTowardTheBudgetAndASharedRangeIsHeldOnce)
{
    // 150 string records over one 10 MB range (an 11 KB file once packed):
    // one string is held, not 1.5 GB of copies.
    const Bytes text(10u * 1024 * 1024, 'x');
    std::vector<skintest::SharedRecord> shared;
    for (int i = 0; i < 150; ++i) shared.push_back({std::string("S").append(std::to_string(i)), 0, 3});
    Tsk2SkinFileReader reader;
    ASSERT_TRUE(reader.LoadPayload(skintest::SharedRangePayload(shared, {text})));
    EXPECT_EQ(reader.GetString("S149").size(), text.size());
    EXPECT_LT(reader.HeldBytes(), 11 * 1024 * 1024);

    // Ranges that differ by one byte each are strings of their own: 40 of
    // 10 MB are beyond the budget, with or without pictures beside them.
    std::vector<skintest::SharedRecord> overlapping;
    for (std::size_t i = 0; i < 40; ++i)
        overlapping.push_back({std::string("S").append(std::to_string(i)), 0, 3, i});
    EXPECT_FALSE(reader.LoadPayload(skintest::SharedRangePayload(overlapping, {text})));
    EXPECT_FALSE(reader.Ready());
    EXPECT_EQ(reader.GetString("S0"), "");

    // Pictures at the pixel budget leave room for no more than a payload
    // of strings beside them.
    const Bytes quarter = skintest::OneBitBmp(4096, 4096);
    std::vector<skintest::SharedRecord> mixed = {{"B0", 0}, {"B1", 1}, {"B2", 2}, {"B3", 3}};
    for (std::size_t i = 0; i < 7; ++i)
        mixed.push_back({std::string("S").append(std::to_string(i)), 4, 3, i});
    EXPECT_FALSE(
        reader.LoadPayload(skintest::SharedRangePayload(mixed, {quarter, quarter, quarter, quarter, text})));
}

}  // namespace
