#pragma once
// Writes FIT files message by message, for the tests, the fuzz seeds and the
// benchmarks: definitions (either byte order, developer fields), data
// messages (normal or compressed-timestamp headers), the header with or
// without its CRC, and the file's CRC.

#include <QByteArray>

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace fitwriter {

constexpr uint16_t kRecord = 20, kCoursePoint = 32;
constexpr int32_t kInvalid = 0x7FFFFFFF;

inline int32_t semicircles(double degrees)
{
    return int32_t(std::llround(degrees * (2147483648.0 / 180.0)));
}

inline uint16_t crc(QByteArrayView bytes, uint16_t crc = 0)
{
    for (const char c : bytes) {
        crc ^= uint8_t(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? uint16_t((crc >> 1) ^ 0xA001) : uint16_t(crc >> 1);
    }
    return crc;
}

class Writer {
public:
    struct Field {
        uint8_t number, size;
    };

    // A local type's layout; developer fields are given by their sizes.
    Writer& define(int local, uint16_t global, std::vector<Field> fields, bool bigEndian = false,
                   std::vector<uint8_t> developerSizes = {})
    {
        const bool developer = !developerSizes.empty();
        put(uint8_t(0x40 | (developer ? 0x20 : 0) | local));
        put(0);
        put(bigEndian ? 1 : 0);
        putNumber(global, 2, bigEndian);
        put(uint8_t(fields.size()));
        for (const Field& field : fields) {
            put(field.number);
            put(field.size);
            put(field.size == 4 ? 0x85 : 0x0D); // sint32 or bytes
        }
        if (developer) {
            put(uint8_t(developerSizes.size()));
            for (size_t i = 0; i < developerSizes.size(); ++i) {
                put(uint8_t(i));
                put(developerSizes[i]);
                put(0);
            }
        }
        layouts_[local] = {std::move(fields), bigEndian, developerSizes};
        return *this;
    }

    // One value per field; developer fields are filled with zeros. A
    // compressed-timestamp header needs a local type below 4.
    Writer& data(int local, const std::vector<int64_t>& values, bool compressedTime = false)
    {
        const Layout& layout = layouts_[local];
        put(compressedTime ? uint8_t(0x80 | local << 5 | 7) : uint8_t(local));
        for (size_t i = 0; i < layout.fields.size(); ++i)
            putNumber(values.at(i), layout.fields[i].size, layout.bigEndian);
        for (const uint8_t size : layout.developerSizes)
            messages_.append(QByteArray(size, '\0'));
        return *this;
    }

    // The whole file; a 14-byte header carries its CRC.
    QByteArray file(bool headerCrc = true) const
    {
        QByteArray bytes;
        bytes.append(char(headerCrc ? 14 : 12));
        bytes.append(char(0x20));
        bytes.append("\x08\x08", 2);
        for (int i = 0; i < 4; ++i)
            bytes.append(char(uint32_t(messages_.size()) >> (8 * i)));
        bytes.append(".FIT");
        if (headerCrc) {
            const uint16_t headerSum = crc(bytes);
            bytes.append(char(headerSum & 0xFF));
            bytes.append(char(headerSum >> 8));
        }
        bytes.append(messages_);
        const uint16_t sum = crc(bytes);
        bytes.append(char(sum & 0xFF));
        bytes.append(char(sum >> 8));
        return bytes;
    }

private:
    struct Layout {
        std::vector<Field> fields;
        bool bigEndian = false;
        std::vector<uint8_t> developerSizes;
    };

    void put(uint8_t byte) { messages_.append(char(byte)); }
    void putNumber(int64_t value, int size, bool bigEndian)
    {
        for (int i = 0; i < size; ++i)
            put(uint8_t(uint64_t(value) >> (8 * (bigEndian ? size - 1 - i : i))));
    }

    QByteArray messages_;
    Layout layouts_[16];
};

} // namespace fitwriter
