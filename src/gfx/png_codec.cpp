#include "gfx/png_codec.h"

#include <algorithm>
#include <array>

namespace kolvane::gfx::codec {

namespace {

// Large enough for any frame; guards the allocation against a corrupt header.
constexpr std::uint32_t kMaxSide = 8192;
constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// The largest stored deflate block.
constexpr std::size_t kMaxStored = 65535;

// --- Writing -------------------------------------------------------------

void putU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 24));
    out.push_back(static_cast<std::uint8_t>(v >> 16));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

void putChunk(std::vector<std::uint8_t>& out, const char* type, const std::uint8_t* data,
              std::size_t size) {
    putU32(out, static_cast<std::uint32_t>(size));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data, data + size);
    putU32(out, crc32(out.data() + start, size + 4));
}

// --- Reading -------------------------------------------------------------

std::uint32_t getU32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

// Deflate's bits, least significant first.
struct BitReader {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t pos = 0;
    std::uint32_t buffer = 0;
    int count = 0;
    bool overrun = false;

    std::uint32_t bits(int need) {
        std::uint32_t value = buffer;
        while (count < need) {
            if (pos >= size) {
                overrun = true;
                return 0;
            }
            value |= std::uint32_t{data[pos++]} << count;
            count += 8;
        }
        buffer = need < 32 ? value >> need : 0;
        count -= need;
        return value & ((std::uint32_t{1} << need) - 1);
    }
    // Drops the rest of the current byte.
    void align() {
        buffer = 0;
        count = 0;
    }
};

// A canonical Huffman code: how many codes of each length, and the symbols in
// code order.
struct Huffman {
    std::array<std::int16_t, 16> count{};
    std::array<std::int16_t, 288> symbol{};
};

// Returns 0 for a complete code, > 0 for an incomplete one, < 0 for an
// over-subscribed one.
int build(Huffman& h, const std::int16_t* length, int n) {
    h.count.fill(0);
    for (int s = 0; s < n; ++s) ++h.count[length[s]];
    if (h.count[0] == n) return 0;
    int left = 1;
    for (int len = 1; len < 16; ++len) {
        left = 2 * left - h.count[len];
        if (left < 0) return left;
    }
    std::array<std::int16_t, 16> offset{};
    for (int len = 1; len < 15; ++len) {
        offset[len + 1] = static_cast<std::int16_t>(offset[len] + h.count[len]);
    }
    for (int s = 0; s < n; ++s) {
        if (length[s] != 0) h.symbol[offset[length[s]]++] = static_cast<std::int16_t>(s);
    }
    return left;
}

// The next symbol, or -1 when the bits match no code or run out.
int decode(BitReader& in, const Huffman& h) {
    int code = 0;
    int first = 0;
    int index = 0;
    for (int len = 1; len < 16; ++len) {
        code |= static_cast<int>(in.bits(1));
        if (in.overrun) return -1;
        const int count = h.count[len];
        if (code - count < first) return h.symbol[index + (code - first)];
        index += count;
        first = (first + count) << 1;
        code <<= 1;
    }
    return -1;
}

constexpr std::array<std::int16_t, 29> kLengthBase{3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                   15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                   67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::int8_t, 29> kLengthExtra{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                   2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::int32_t, 30> kDistanceBase{
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::int8_t, 30> kDistanceExtra{0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                     4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                     9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// One compressed block's symbols up to its end code.
bool inflateCodes(BitReader& in, const Huffman& lengths, const Huffman& distances,
                  std::size_t expected, std::vector<std::uint8_t>& out) {
    for (;;) {
        int symbol = decode(in, lengths);
        if (symbol < 0) return false;
        if (symbol < 256) {
            if (out.size() >= expected) return false;
            out.push_back(static_cast<std::uint8_t>(symbol));
            continue;
        }
        if (symbol == 256) return true;
        symbol -= 257;
        if (symbol >= 29) return false;
        const std::size_t length =
            static_cast<std::size_t>(kLengthBase[symbol]) + in.bits(kLengthExtra[symbol]);
        const int d = decode(in, distances);
        if (d < 0 || d >= 30) return false;
        const std::size_t distance =
            static_cast<std::size_t>(kDistanceBase[d]) + in.bits(kDistanceExtra[d]);
        if (in.overrun || distance > out.size() || length > expected - out.size()) return false;
        for (std::size_t i = 0; i < length; ++i) out.push_back(out[out.size() - distance]);
    }
}

bool inflateStored(BitReader& in, std::size_t expected, std::vector<std::uint8_t>& out) {
    in.align();
    if (in.size - in.pos < 4) return false;
    const std::uint8_t* p = in.data + in.pos;
    const std::size_t length = p[0] | (std::size_t{p[1]} << 8);
    if ((length ^ (p[2] | (std::size_t{p[3]} << 8))) != 0xFFFF) return false;
    in.pos += 4;
    if (in.size - in.pos < length || length > expected - out.size()) return false;
    out.insert(out.end(), in.data + in.pos, in.data + in.pos + length);
    in.pos += length;
    return true;
}

bool inflateFixed(BitReader& in, std::size_t expected, std::vector<std::uint8_t>& out) {
    std::array<std::int16_t, 288> length{};
    for (int s = 0; s < 288; ++s) length[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
    Huffman lengths;
    build(lengths, length.data(), 288);
    length.fill(5);
    Huffman distances;
    build(distances, length.data(), 30);
    return inflateCodes(in, lengths, distances, expected, out);
}

bool inflateDynamic(BitReader& in, std::size_t expected, std::vector<std::uint8_t>& out) {
    constexpr std::array<int, 19> kOrder{16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                         11, 4,  12, 3, 13, 2, 14, 1, 15};
    const int nLengths = static_cast<int>(in.bits(5)) + 257;
    const int nDistances = static_cast<int>(in.bits(5)) + 1;
    const int nCodes = static_cast<int>(in.bits(4)) + 4;
    if (in.overrun || nLengths > 286 || nDistances > 30) return false;

    std::array<std::int16_t, 316> length{};
    for (int i = 0; i < nCodes; ++i) length[kOrder[i]] = static_cast<std::int16_t>(in.bits(3));
    Huffman codeLengths;
    if (in.overrun || build(codeLengths, length.data(), 19) != 0) return false;

    length.fill(0);
    for (int i = 0; i < nLengths + nDistances;) {
        const int symbol = decode(in, codeLengths);
        if (symbol < 0) return false;
        if (symbol < 16) {
            length[i++] = static_cast<std::int16_t>(symbol);
            continue;
        }
        std::int16_t repeated = 0;
        int times = 0;
        if (symbol == 16) {
            if (i == 0) return false;
            repeated = length[i - 1];
            times = 3 + static_cast<int>(in.bits(2));
        } else if (symbol == 17) {
            times = 3 + static_cast<int>(in.bits(3));
        } else {
            times = 11 + static_cast<int>(in.bits(7));
        }
        if (in.overrun || i + times > nLengths + nDistances) return false;
        while (times-- > 0) length[i++] = repeated;
    }
    if (length[256] == 0) return false;  // no end code

    // Incomplete codes are allowed only when they hold a single code.
    Huffman lengths;
    int left = build(lengths, length.data(), nLengths);
    if (left < 0 || (left > 0 && nLengths - lengths.count[0] != 1)) return false;
    Huffman distances;
    left = build(distances, length.data() + nLengths, nDistances);
    if (left < 0 || (left > 0 && nDistances - distances.count[0] != 1)) return false;
    return inflateCodes(in, lengths, distances, expected, out);
}

std::uint8_t paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = p > a ? p - a : a - p;
    const int pb = p > b ? p - b : b - p;
    const int pc = p > c ? p - c : c - p;
    if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(a);
    return static_cast<std::uint8_t>(pb <= pc ? b : c);
}

// Undoes the row filters in place; each row starts with its filter type.
bool unfilter(std::vector<std::uint8_t>& raw, std::size_t rowBytes, std::size_t rows, int bpp) {
    for (std::size_t y = 0; y < rows; ++y) {
        std::uint8_t* row = raw.data() + y * (rowBytes + 1);
        const std::uint8_t* prior = y == 0 ? nullptr : row - (rowBytes + 1) + 1;
        const std::uint8_t type = row[0];
        ++row;
        for (std::size_t x = 0; x < rowBytes; ++x) {
            const int a = x >= static_cast<std::size_t>(bpp) ? row[x - bpp] : 0;
            const int b = prior != nullptr ? prior[x] : 0;
            const int c =
                prior != nullptr && x >= static_cast<std::size_t>(bpp) ? prior[x - bpp] : 0;
            int add = 0;
            switch (type) {
                case 0:
                    break;
                case 1:
                    add = a;
                    break;
                case 2:
                    add = b;
                    break;
                case 3:
                    add = (a + b) / 2;
                    break;
                case 4:
                    add = paeth(a, b, c);
                    break;
                default:
                    return false;
            }
            row[x] = static_cast<std::uint8_t>(row[x] + add);
        }
    }
    return true;
}

}  // namespace

std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::uint32_t adler32(const std::uint8_t* data, std::size_t size) {
    constexpr std::uint32_t kMod = 65521;
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % kMod;
        b = (b + a) % kMod;
    }
    return (b << 16) | a;
}

std::vector<std::uint8_t> encodePng(const std::uint32_t* pixels, std::int32_t width,
                                    std::int32_t height) {
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t h = static_cast<std::size_t>(height);
    // The rows as PNG wants them: filter type 0, then R, G, B.
    std::vector<std::uint8_t> raw;
    raw.reserve(h * (1 + 3 * w));
    for (std::size_t y = 0; y < h; ++y) {
        raw.push_back(0);
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint32_t p = pixels[y * w + x];
            raw.push_back(static_cast<std::uint8_t>(p >> 16));
            raw.push_back(static_cast<std::uint8_t>(p >> 8));
            raw.push_back(static_cast<std::uint8_t>(p));
        }
    }

    // A zlib stream of stored blocks.
    std::vector<std::uint8_t> z{0x78, 0x01};
    z.reserve(raw.size() + raw.size() / kMaxStored * 5 + 16);
    std::size_t pos = 0;
    do {
        const std::size_t n = std::min(kMaxStored, raw.size() - pos);
        const bool last = pos + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<std::uint8_t>(n));
        z.push_back(static_cast<std::uint8_t>(n >> 8));
        z.push_back(static_cast<std::uint8_t>(~n));
        z.push_back(static_cast<std::uint8_t>(~n >> 8));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
                 raw.begin() + static_cast<std::ptrdiff_t>(pos + n));
        pos += n;
    } while (pos < raw.size());
    putU32(z, adler32(raw.data(), raw.size()));

    std::vector<std::uint8_t> out(kSignature.begin(), kSignature.end());
    std::vector<std::uint8_t> header;
    putU32(header, static_cast<std::uint32_t>(width));
    putU32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no interlace
    putChunk(out, "IHDR", header.data(), header.size());
    putChunk(out, "IDAT", z.data(), z.size());
    putChunk(out, "IEND", nullptr, 0);
    return out;
}

bool inflateZlib(const std::uint8_t* data, std::size_t size, std::size_t expected,
                 std::vector<std::uint8_t>& out, std::string& error) {
    out.clear();
    if (size < 6 || (data[0] & 0x0F) != 8 || (data[0] >> 4) > 7 ||
        ((data[0] << 8) | data[1]) % 31 != 0 || (data[1] & 0x20) != 0) {
        error = "bad zlib header";
        return false;
    }
    out.reserve(expected);
    BitReader in{data + 2, size - 2};
    for (;;) {
        const std::uint32_t last = in.bits(1);
        const std::uint32_t type = in.bits(2);
        bool ok = !in.overrun;
        if (ok && type == 0) ok = inflateStored(in, expected, out);
        if (ok && type == 1) ok = inflateFixed(in, expected, out);
        if (ok && type == 2) ok = inflateDynamic(in, expected, out);
        if (!ok || type == 3) {
            error = "corrupt image data";
            return false;
        }
        if (last != 0) break;
    }
    in.align();
    if (in.size - in.pos < 4 || out.size() != expected) {
        error = "image data too short";
        return false;
    }
    if (getU32(in.data + in.pos) != adler32(out.data(), out.size())) {
        error = "image data checksum mismatch";
        return false;
    }
    return true;
}

bool decodePng(const std::uint8_t* data, std::size_t size, Image& image, std::string& error) {
    if (size < kSignature.size() || !std::equal(kSignature.begin(), kSignature.end(), data)) {
        error = "not a PNG file";
        return false;
    }
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int channels = 0;
    std::vector<std::uint8_t> z;
    bool ended = false;
    for (std::size_t pos = kSignature.size(); !ended;) {
        if (size - pos < 12 || getU32(data + pos) > size - pos - 12) {
            error = "truncated file";
            return false;
        }
        const std::uint32_t length = getU32(data + pos);
        const std::uint8_t* type = data + pos + 4;
        const std::uint8_t* body = type + 4;
        if (getU32(body + length) != crc32(type, length + 4)) {
            error = "chunk checksum mismatch";
            return false;
        }
        const std::string name(reinterpret_cast<const char*>(type), 4);
        const bool first = pos == kSignature.size();
        if (first != (name == "IHDR")) {
            error = "IHDR is not the first chunk";
            return false;
        }
        if (name == "IHDR") {
            if (length != 13) {
                error = "bad IHDR";
                return false;
            }
            width = getU32(body);
            height = getU32(body + 4);
            const int colorType = body[9];
            channels = colorType == 0   ? 1
                       : colorType == 2 ? 3
                       : colorType == 4 ? 2
                       : colorType == 6 ? 4
                                        : 0;
            if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) {
                error = "image size out of range";
                return false;
            }
            if (body[8] != 8 || channels == 0 || body[10] != 0 || body[11] != 0 || body[12] != 0) {
                error = "unsupported pixel format";
                return false;
            }
        } else if (name == "IDAT") {
            z.insert(z.end(), body, body + length);
        } else if (name == "IEND") {
            ended = true;
        } else if ((type[0] & 0x20) == 0) {
            error = "unsupported chunk " + name;
            return false;
        }
        pos += 12 + std::size_t{length};
    }

    const std::size_t rowBytes = std::size_t{width} * static_cast<std::size_t>(channels);
    std::vector<std::uint8_t> raw;
    if (!inflateZlib(z.data(), z.size(), (rowBytes + 1) * height, raw, error)) return false;
    if (!unfilter(raw, rowBytes, height, channels)) {
        error = "bad row filter";
        return false;
    }

    image.width = static_cast<std::int32_t>(width);
    image.height = static_cast<std::int32_t>(height);
    image.pixels.resize(std::size_t{width} * height);
    for (std::size_t y = 0; y < height; ++y) {
        const std::uint8_t* row = raw.data() + y * (rowBytes + 1) + 1;
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint8_t* p = row + x * static_cast<std::size_t>(channels);
            const bool grey = channels < 3;
            const std::uint32_t r = p[0];
            const std::uint32_t g = grey ? p[0] : p[1];
            const std::uint32_t b = grey ? p[0] : p[2];
            image.pixels[y * width + x] = (r << 16) | (g << 8) | b;
        }
    }
    return true;
}

}  // namespace kolvane::gfx::codec
