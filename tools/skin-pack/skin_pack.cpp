#include "tools/skin-pack/skin_pack.h"

#include <zlib.h>

#include <cstring>
#include <random>
#include <stdexcept>

#include "platform/gfx/canvas.h"
#include "platform/gfx/image_io.h"
#include "skin/kiv_public.h"
#include "skin/kiv_skin_reader.h"

namespace skinpack {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::vector<std::uint8_t> Deflate(std::span<const std::uint8_t> data, int level, bool fixed)
{
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, fixed ? Z_FIXED : Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    std::vector<std::uint8_t> out(deflateBound(&z, data.size()) + 16);
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    if (rc != Z_STREAM_END) throw std::runtime_error("deflate failed");
    return out;
}

}  // namespace

Record BitmapRecord(const std::string& name, const TBitmap& bitmap)
{
    return {name, RecordKind::Bitmap, gfx::EncodeBmp(bitmap)};
}

Record IntegerRecord(const std::string& name, std::int32_t value)
{
    Record r{name, RecordKind::Integer, {}};
    Put32(r.data, static_cast<std::uint32_t>(value));
    return r;
}

Record BoolRecord(const std::string& name, bool value)
{
    return {name, RecordKind::Boolean, {static_cast<std::uint8_t>(value ? 1 : 0)}};
}

Record StringRecord(const std::string& name, const std::string& text)
{
    return {name, RecordKind::String, {text.begin(), text.end()}};
}

std::vector<std::uint8_t> BuildPayload(const std::vector<Record>& records)
{
    constexpr std::size_t kHeader = 24, kRecord = 77;
    const std::string_view magic = "TAVRIXON_SK2";
    std::vector<std::uint8_t> out(magic.begin(), magic.end());
    Put32(out, kHeader);
    Put32(out, 2);
    Put32(out, kHeader);
    // The record chain first, then the data.
    const std::size_t dataStart = kHeader + (records.size() + 1) * kRecord;
    std::size_t dataAt = dataStart;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Record& r = records[i];
        std::uint8_t name[64] = {};
        std::memcpy(name, r.name.data(), std::min<std::size_t>(63, r.name.size()));
        out.insert(out.end(), name, name + 64);
        out.push_back(static_cast<std::uint8_t>(r.kind));
        Put32(out, static_cast<std::uint32_t>(dataAt));
        Put32(out, static_cast<std::uint32_t>(r.data.size()));
        Put32(out, static_cast<std::uint32_t>(kHeader + (i + 1) * kRecord));
        dataAt += r.data.size();
    }
    // The terminator: all zero but its kind.
    out.insert(out.end(), 64, 0);
    out.push_back(2);
    out.insert(out.end(), 12, 0);
    for (const Record& r : records) out.insert(out.end(), r.data.begin(), r.data.end());
    return out;
}

std::vector<std::uint8_t> BuildArchive(std::span<const std::uint8_t> payload, const ArchiveOptions& options)
{
    struct Entry {
        std::string name;
        std::vector<std::uint8_t> data;  // as stored
        std::uint32_t crc, size;
        std::uint16_t flags;
        std::uint32_t offset = 0;
    };
    std::vector<Entry> entries;
    for (const std::string& other : options.otherEntries) {
        const std::vector<std::uint8_t> text(other.begin(), other.end());
        entries.push_back(
            {other, Deflate(text, 6, false), skin::Crc32(text), static_cast<std::uint32_t>(text.size()), 0});
    }
    Entry skinEntry{options.entryName, Deflate(payload, options.level, options.fixedCodes),
                    skin::Crc32(payload), static_cast<std::uint32_t>(payload.size()), 0};
    if (!options.password.empty()) {
        skinEntry.flags = static_cast<std::uint16_t>(1 | (options.checkByTime ? 8 : 0));
        skin::ZipCryptKeys keys(options.password);
        std::vector<std::uint8_t> sealed;
        std::mt19937 random(12345);
        for (int i = 0; i < 11; ++i) sealed.push_back(keys.Encrypt(static_cast<std::uint8_t>(random())));
        const std::uint8_t check = options.checkByTime ? static_cast<std::uint8_t>(options.time >> 8)
                                                       : static_cast<std::uint8_t>(skinEntry.crc >> 24);
        sealed.push_back(keys.Encrypt(check));
        for (std::uint8_t b : skinEntry.data) sealed.push_back(keys.Encrypt(b));
        skinEntry.data = std::move(sealed);
    }
    entries.push_back(std::move(skinEntry));

    std::vector<std::uint8_t> out;
    for (Entry& e : entries) {
        e.offset = static_cast<std::uint32_t>(out.size());
        Put32(out, 0x04034B50u);
        Put16(out, 20);
        Put16(out, e.flags);
        Put16(out, 8);
        Put16(out, options.time);
        Put16(out, options.date);
        Put32(out, e.crc);
        Put32(out, static_cast<std::uint32_t>(e.data.size()));
        Put32(out, e.size);
        Put16(out, static_cast<std::uint32_t>(e.name.size()));
        Put16(out, 0);
        out.insert(out.end(), e.name.begin(), e.name.end());
        out.insert(out.end(), e.data.begin(), e.data.end());
    }
    const std::size_t cdStart = out.size();
    for (const Entry& e : entries) {
        Put32(out, 0x02014B50u);
        Put16(out, 20);
        Put16(out, 20);
        Put16(out, e.flags);
        Put16(out, 8);
        Put16(out, options.time);
        Put16(out, options.date);
        Put32(out, e.crc);
        Put32(out, static_cast<std::uint32_t>(e.data.size()));
        Put32(out, e.size);
        Put16(out, static_cast<std::uint32_t>(e.name.size()));
        Put16(out, 0);
        Put16(out, 0);
        Put16(out, 0);
        Put16(out, 0);
        Put32(out, 0);
        Put32(out, e.offset);
        out.insert(out.end(), e.name.begin(), e.name.end());
    }
    const std::size_t cdSize = out.size() - cdStart;
    Put32(out, 0x06054B50u);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<std::uint32_t>(entries.size()));
    Put16(out, static_cast<std::uint32_t>(entries.size()));
    Put32(out, static_cast<std::uint32_t>(cdSize));
    Put32(out, static_cast<std::uint32_t>(cdStart));
    Put16(out, 0);
    // "SK" where the first local header has "PK".
    out[0] = 'S';
    out[1] = 'K';
    return out;
}

std::vector<Record> StyleSkinRecords(TkivUIStyle style)
{
    using namespace skin;
    std::vector<Record> r;
    auto colour = [&](const char* name, TColor c) {
        r.push_back(IntegerRecord(name, static_cast<std::int32_t>(c)));
    };
    auto entryColour = [&](const char* name, int position) {
        colour(name, GetBuiltInColor(style, position));
    };
    colour("SKIN2_TRANSCOLOR", clMagenta);
    colour("SKIN2_TITLEFONTCOLOR", clWhite);
    entryColour("SKIN2_FORMCOLOR", 15);
    entryColour("SKIN2_MENUBARSTARTCOLOR", 15);
    entryColour("SKIN2_MENUBARENDCOLOR", 15);
    entryColour("SKIN2_TOPSELECTEDMENUCOLOR", 19);
    entryColour("SKIN2_TOPSELECTEDMENUBORDERCOLOR", 18);
    entryColour("SKIN2_TOPSELECTEDMENUFONTCOLOR", 20);
    entryColour("SKIN2_TOPMENUFONTCOLOR", 22);
    entryColour("SKIN2_LEFTBARSTARTCOLOR", 23);
    entryColour("SKIN2_LEFTBARENDCOLOR", 23);
    entryColour("SKIN2_MENUITEMCOLOR", 21);
    entryColour("SKIN2_MENUITEMFONTCOLOR", 22);
    entryColour("SKIN2_SELECTEDMENUCOLOR", 19);
    entryColour("SKIN2_SELECTEDMENUBORDERCOLOR", 18);
    entryColour("SKIN2_SELECTEDMENUFONTCOLOR", 20);
    entryColour("SKIN2_TOOLBARSTARTCOLOR", 15);
    entryColour("SKIN2_TOOLBARENDCOLOR", 26);
    entryColour("SKIN2_TOOLBARONCOLOR", 19);
    entryColour("SKIN2_TOOLBARBORDERCOLOR", 18);
    entryColour("SKIN2_TOOLBARDOWNCOLOR", 18);
    entryColour("SKIN2_CONTROLCOLOR", 15);
    entryColour("SKIN2_CONTROLBORDERCOLOR", 25);
    entryColour("SKIN2_CONTROLFONTCOLOR", 27);
    colour("SKIN2_BUTTONFONTCOLOR", clBlack);
    entryColour("SKIN2_SCROLLBARCOLOR", 31);
    entryColour("SKIN2_TABCONTROLCOLOR", 26);
    entryColour("SKIN2_TABCONTROLBORDERCOLOR", 25);
    colour("SKIN2_TABCONTROLACTIVEFONTCOLOR", clBlack);
    colour("SKIN2_TABCONTROLINACTIVEFONTCOLOR", 0x404040);
    entryColour("SKIN2_SIDECHANNELCOLOR", 15);
    entryColour("SKIN2_SIDECHANNELBORDERCOLOR", 25);

    auto bitmap = [&](const char* name, int position, int cellFrom = 0, int cells = 0, int count = 0,
                      bool turned = false) {
        TBitmap b;
        LoadBuiltInBitmap(style, position, &b);
        if (b.Empty()) return;
        // The scroll bar turns its skin strip left before cutting it; the
        // built-in strip is the turned form.
        if (turned) RotateBitmapRight(b);
        if (count > 0) {
            // A run of cells cut out of a longer strip.
            const int w = b.Width() / count;
            TBitmap part(w * cells, b.Height());
            part.Canvas().CopyRect(part.BoundsRect(), b,
                                   Bounds((cellFrom - 1) * w, 0, w * cells, b.Height()));
            b = std::move(part);
        }
        r.push_back(BitmapRecord(name, b));
    };
    auto border = [&](const char* name, int w, int h) {
        TBitmap b(w, h, GetBuiltInColor(style, 16));
        r.push_back(BitmapRecord(name, b));
    };
    bitmap("SKIN2_TITLEBAR1", 10);
    bitmap("SKIN2_TITLEBAR2", 11);
    bitmap("SKIN2_TITLEBAR3", 12);
    border("SKIN2_FORMLEFTBORDER", 3, 9);
    border("SKIN2_FORMRIGHTBORDER", 3, 9);
    border("SKIN2_FORMBOTTOMBORDER1", 3, 3);
    border("SKIN2_FORMBOTTOMBORDER2", 9, 3);
    border("SKIN2_FORMBOTTOMBORDER3", 3, 3);
    bitmap("SKIN2_TITLEBUTTONS", 5);
    bitmap("SKIN2_BUTTON", 1);
    {
        // A skin's check box strip has six cells: checked, (unused),
        // unchecked, checked disabled, (unused), unchecked disabled.
        TBitmap four;
        LoadBuiltInBitmap(style, 3, &four);
        if (!four.Empty()) {
            const int w = four.Width() / 4, h = four.Height();
            TBitmap six(w * 6, h, clMagenta);
            const int from[6] = {1, 1, 2, 3, 3, 4};
            for (int to = 0; to < 6; ++to)
                six.Canvas().CopyRect(Bounds(to * w, 0, w, h), four, Bounds((from[to] - 1) * w, 0, w, h));
            r.push_back(BitmapRecord("SKIN2_CHECKBOX", six));
        }
    }
    bitmap("SKIN2_CHECKBOXLIST", 34);
    bitmap("SKIN2_RADIOBUTTON", 4);
    for (const char* name :
         {"SKIN2_PROGRESSBAR1", "SKIN2_PROGRESSBAR2", "SKIN2_PROGRESSBAR3", "SKIN2_PROGRESSBAR4"})
        bitmap(name, 24);
    bitmap("SKIN2_TRACKBAR", 28);
    bitmap("SKIN2_TRACKBARSLIDER", 29);
    bitmap("SKIN2_TRACKBARVSLIDER", 30);
    bitmap("SKIN2_SCROLLBARUPBUTTON", 32, 1, 3, 6);
    bitmap("SKIN2_SCROLLBAR", 33, 0, 0, 0, true);
    bitmap("SKIN2_SCROLLBARDOWNBUTTON", 32, 4, 3, 6);
    bitmap("SKIN2_TABCONTROL", 39);
    bitmap("SKIN2_TABCONTROLLINE", 40);
    bitmap("SKIN2_SIDECHANNELBAR", 42);
    bitmap("SKIN2_SIDECHANNELTITLE", 41);
    bitmap("SKIN2_SCROLLBUTTON", 38);

    r.push_back(IntegerRecord("SKIN2_TITLEBARICONPOSX", 4));
    r.push_back(IntegerRecord("SKIN2_TITLEBARICONPOSY", 5));
    r.push_back(IntegerRecord("SKIN2_TITLEBARCAPTIONTOP", 6));
    r.push_back(IntegerRecord("SKIN2_TITLEBARBUTTONPOSX", GetBuiltInInt(style, 8)));
    r.push_back(IntegerRecord("SKIN2_TITLEBARBUTTONPOSY", GetBuiltInInt(style, 9)));
    r.push_back(IntegerRecord("SKIN2_TITLEBARREGIONMINY", 0));
    r.push_back(IntegerRecord("SKIN2_TITLEBARREGIONMAXY", 2));
    r.push_back(IntegerRecord("SKIN2_BOTTOMREGIONMINY", 0));
    r.push_back(IntegerRecord("SKIN2_BOTTOMREGIONMAXY", 0));

    const bool rounded = GetBuiltInInt(style, 14) > 0;
    r.push_back(BoolRecord("SKIN2_TITLEFIVESECT", false));
    r.push_back(BoolRecord("SKIN2_BOTTOMBORDERTHREESECT", true));
    r.push_back(BoolRecord("SKIN2_TITLEBARNEEDREGION", rounded));
    r.push_back(BoolRecord("SKIN2_BOTTOMBORDERNEEDREGION", false));
    r.push_back(BoolRecord("SKIN2_TITLEBTNTRANS", GetBuiltInBool(style, 6)));
    r.push_back(BoolRecord("SKIN2_BUTTONTRANS", GetBuiltInBool(style, 2)));
    r.push_back(BoolRecord("SKIN2_CHECKBOXTRANS", true));
    r.push_back(BoolRecord("SKIN2_RADIOBUTTONTRANS", true));
    r.push_back(BoolRecord("SKIN2_TABCONTROLTRANS", true));
    return r;
}

}  // namespace skinpack
