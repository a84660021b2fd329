#include "pgf_header.h"

#include <algorithm>
#include <cstring>

#include "little_endian.h"
#include "pgf_read_error.h"

namespace tessavine::pgf {
namespace {

constexpr std::size_t kNameLength = 64;
constexpr std::int32_t kUnknownAt174 = 1540;  // 24.0625 in 26.6, the same in every known font
constexpr std::int32_t kUnknownAt180 = 960;   // 15.0 in 26.6

void putName(std::span<std::uint8_t> out, std::size_t at, const std::string& name) {
    const std::size_t length = std::min(name.size(), kNameLength - 1);
    std::memcpy(out.data() + at, name.data(), length);
}

std::string getName(std::span<const std::uint8_t> in, std::size_t at) {
    std::string name;
    for (std::size_t i = 0; i < kNameLength && in[at + i] != 0; ++i) {
        name += static_cast<char>(in[at + i]);
    }
    return name;
}

}  // namespace

std::vector<std::uint8_t> encodeHeader(const PgfHeader& header) {
    std::vector<std::uint8_t> bytes(kHeaderSize, 0);
    const std::span<std::uint8_t> out(bytes);
    putU16(out, 0x000, 0);
    putU16(out, 0x002, header.headerSize);
    std::memcpy(bytes.data() + 0x004, "PGF0", 4);
    putS32(out, 0x008, header.revision);
    putS32(out, 0x00C, header.version);
    putS32(out, 0x010, header.charMapLength);
    putS32(out, 0x014, header.charPointerLength);
    putS32(out, 0x018, header.charMapBpe);
    putS32(out, 0x01C, header.charPointerBpe);
    bytes[0x020] = 4;
    bytes[0x021] = 4;
    bytes[0x022] = header.bitsPerPixel;
    putS32(out, 0x024, header.hSize);
    putS32(out, 0x028, header.vSize);
    putS32(out, 0x02C, header.hResolution);
    putS32(out, 0x030, header.vResolution);
    putName(out, 0x035, header.fontName);
    putName(out, 0x075, header.fontType);
    putU16(out, 0x0B6, header.firstGlyph);
    putU16(out, 0x0B8, header.lastGlyph);
    bytes[0x0BE] = 1;
    bytes[0x0CA] = 1;
    putS32(out, 0x0D4, header.maxAscender);
    putS32(out, 0x0D8, header.maxDescender);
    putS32(out, 0x0DC, header.maxLeftXAdjust);
    putS32(out, 0x0E0, header.maxBaseYAdjust);
    putS32(out, 0x0E4, header.minCenterXAdjust);
    putS32(out, 0x0E8, header.maxTopYAdjust);
    putS32(out, 0x0EC, header.maxAdvanceH);
    putS32(out, 0x0F0, header.maxAdvanceV);
    putS32(out, 0x0F4, header.maxSizeW);
    putS32(out, 0x0F8, header.maxSizeH);
    putU16(out, 0x0FC, header.maxGlyphWidth);
    putU16(out, 0x0FE, header.maxGlyphHeight);
    bytes[0x100] = 4;
    bytes[0x102] = header.dimTableLength;
    bytes[0x103] = header.xAdjustTableLength;
    bytes[0x104] = header.yAdjustTableLength;
    bytes[0x105] = header.advanceTableLength;
    putS32(out, 0x16C, header.shadowMapLength);
    putS32(out, 0x170, header.shadowMapBpe);
    putS32(out, 0x174, kUnknownAt174);
    putS32(out, 0x178, header.shadowScaleX);
    putS32(out, 0x17C, header.shadowScaleY);
    putS32(out, 0x180, kUnknownAt180);
    putS32(out, 0x184, kUnknownAt180);
    return bytes;
}

PgfHeader decodeHeader(std::span<const std::uint8_t> in) {
    if (in.size() < kHeaderSize || std::memcmp(in.data() + 4, "PGF0", 4) != 0) {
        throw PgfReadError("this is no PGF font (the file does not begin with a PGF header)");
    }
    PgfHeader header;
    header.headerSize = getU16(in, 0x002);
    header.revision = getS32(in, 0x008);
    header.version = getS32(in, 0x00C);
    if (header.revision != 2 || header.headerSize != kHeaderSize) {
        throw PgfReadError(
            "only revision 2 PGF fonts (the latin kind) can be read; this one is "
            "revision " +
            std::to_string(header.revision));
    }
    if (header.version != 6) {
        throw PgfReadError("unknown PGF version " + std::to_string(header.version));
    }
    header.charMapLength = getS32(in, 0x010);
    header.charPointerLength = getS32(in, 0x014);
    header.charMapBpe = getS32(in, 0x018);
    header.charPointerBpe = getS32(in, 0x01C);
    header.bitsPerPixel = in[0x022];
    header.hSize = getS32(in, 0x024);
    header.vSize = getS32(in, 0x028);
    header.hResolution = getS32(in, 0x02C);
    header.vResolution = getS32(in, 0x030);
    header.fontName = getName(in, 0x035);
    header.fontType = getName(in, 0x075);
    header.firstGlyph = getU16(in, 0x0B6);
    header.lastGlyph = getU16(in, 0x0B8);
    header.maxAscender = getS32(in, 0x0D4);
    header.maxDescender = getS32(in, 0x0D8);
    header.maxLeftXAdjust = getS32(in, 0x0DC);
    header.maxBaseYAdjust = getS32(in, 0x0E0);
    header.minCenterXAdjust = getS32(in, 0x0E4);
    header.maxTopYAdjust = getS32(in, 0x0E8);
    header.maxAdvanceH = getS32(in, 0x0EC);
    header.maxAdvanceV = getS32(in, 0x0F0);
    header.maxSizeW = getS32(in, 0x0F4);
    header.maxSizeH = getS32(in, 0x0F8);
    header.maxGlyphWidth = getU16(in, 0x0FC);
    header.maxGlyphHeight = getU16(in, 0x0FE);
    header.dimTableLength = in[0x102];
    header.xAdjustTableLength = in[0x103];
    header.yAdjustTableLength = in[0x104];
    header.advanceTableLength = in[0x105];
    header.shadowMapLength = getS32(in, 0x16C);
    header.shadowMapBpe = getS32(in, 0x170);
    header.shadowScaleX = getS32(in, 0x178);
    header.shadowScaleY = getS32(in, 0x17C);
    return header;
}

}  // namespace tessavine::pgf
