#include "display/GoldenImage.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace korvel::test {

namespace {

constexpr char Magic[8] = {'K', 'O', 'R', 'V', 'R', 'L', 'E', '2'};

void Put32(std::ofstream& out, uint32_t v) {
    const char bytes[4] = {static_cast<char>(v), static_cast<char>(v >> 8),
                           static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
    out.write(bytes, 4);
}

bool Get32(std::ifstream& in, uint32_t& v) {
    unsigned char bytes[4];
    if (!in.read(reinterpret_cast<char*>(bytes), 4)) return false;
    v = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
    return true;
}

}  // namespace

bool WriteRunLength(const std::string& path, const Image& image) {
    std::vector<uint32_t> palette;
    for (uint32_t p : image.pixels) {
        if (std::find(palette.begin(), palette.end(), p) == palette.end()) palette.push_back(p);
        if (palette.size() > 256) return false;
    }
    std::ofstream out(path, std::ios::binary);
    out.write(Magic, sizeof Magic);
    Put32(out, static_cast<uint32_t>(image.width));
    Put32(out, static_cast<uint32_t>(image.height));
    Put32(out, static_cast<uint32_t>(palette.size()));
    for (uint32_t colour : palette)
        Put32(out, colour);
    size_t i = 0;
    while (i < image.pixels.size()) {
        size_t j = i;
        while (j < image.pixels.size() && image.pixels[j] == image.pixels[i])
            ++j;
        for (size_t length = j - i;; length >>= 7) {
            const bool more = length >= 0x80;
            out.put(static_cast<char>((length & 0x7F) | (more ? 0x80 : 0)));
            if (!more) break;
        }
        const auto index =
            std::find(palette.begin(), palette.end(), image.pixels[i]) - palette.begin();
        out.put(static_cast<char>(index));
        i = j;
    }
    return static_cast<bool>(out);
}

bool ReadRunLength(const std::string& path, Image& image) {
    std::ifstream in(path, std::ios::binary);
    char magic[8];
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t colours = 0;
    if (!in.read(magic, 8) || std::memcmp(magic, Magic, 8) != 0) return false;
    if (!Get32(in, width) || !Get32(in, height) || !Get32(in, colours)) return false;
    if (width > 10000 || height > 10000 || colours > 256) return false;
    std::vector<uint32_t> palette(colours);
    for (uint32_t& colour : palette) {
        if (!Get32(in, colour)) return false;
    }
    image.width = static_cast<int32_t>(width);
    image.height = static_cast<int32_t>(height);
    image.pixels.clear();
    const size_t total = static_cast<size_t>(width) * height;
    while (image.pixels.size() < total) {
        size_t length = 0;
        int byte = 0;
        for (int shift = 0; shift < 35 && (byte = in.get()) != EOF; shift += 7) {
            length |= static_cast<size_t>(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0) break;
        }
        const int index = in.get();
        if (byte == EOF || index == EOF || static_cast<uint32_t>(index) >= colours) return false;
        if (length > total - image.pixels.size()) return false;
        image.pixels.insert(image.pixels.end(), length, palette[index]);
    }
    return true;
}

bool WritePpm(const std::string& path, const Image& image) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << image.width << " " << image.height << "\n255\n";
    for (uint32_t p : image.pixels) {
        const char rgb[3] = {static_cast<char>(p >> 16), static_cast<char>(p >> 8),
                             static_cast<char>(p)};
        out.write(rgb, 3);
    }
    return static_cast<bool>(out);
}

}  // namespace korvel::test
