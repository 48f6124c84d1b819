#include "AviBuilder.h"

namespace test {

namespace {

using Bytes = AviBuilder::Bytes;

void put16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void put32(Bytes& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

void putCode(Bytes& out, const std::string& code) {
    out.insert(out.end(), code.begin(), code.end());
}

Bytes chunk(const std::string& code, const Bytes& data) {
    Bytes out;
    putCode(out, code);
    put32(out, static_cast<std::uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() % 2 != 0)
        out.push_back(0);
    return out;
}

Bytes list(const std::string& type, const Bytes& body) {
    Bytes data;
    putCode(data, type);
    data.insert(data.end(), body.begin(), body.end());
    return chunk("LIST", data);
}

void append(Bytes& out, const Bytes& more) {
    out.insert(out.end(), more.begin(), more.end());
}

} // namespace

AviBuilder::AviBuilder(std::int32_t width, std::int32_t height)
    : m_width(width), m_height(height), m_palette{0xFF00FF, 0x000000, 0xFFFFFF, 0xFFD84A} {}

AviBuilder& AviBuilder::compression(std::uint32_t value) {
    m_compression = value;
    return *this;
}

AviBuilder& AviBuilder::bitCount(std::uint16_t value) {
    m_bitCount = value;
    return *this;
}

AviBuilder& AviBuilder::palette(std::vector<std::uint32_t> rgb) {
    m_palette = std::move(rgb);
    return *this;
}

AviBuilder& AviBuilder::declaredColours(std::uint32_t value) {
    m_declaredColours = value;
    return *this;
}

AviBuilder& AviBuilder::microSecondsPerFrame(std::uint32_t value) {
    m_microSecondsPerFrame = value;
    return *this;
}

AviBuilder& AviBuilder::streamRate(std::uint32_t scale, std::uint32_t rate) {
    m_scale = scale;
    m_rate = rate;
    return *this;
}

AviBuilder& AviBuilder::streamType(const std::string& fourcc) {
    m_streamType = fourcc;
    return *this;
}

AviBuilder& AviBuilder::secondStream() {
    m_secondStream = true;
    return *this;
}

AviBuilder& AviBuilder::inRecords() {
    m_inRecords = true;
    return *this;
}

AviBuilder& AviBuilder::withoutMovie() {
    m_withoutMovie = true;
    return *this;
}

AviBuilder& AviBuilder::frame(Bytes data, const std::string& fourcc) {
    m_frames.emplace_back(fourcc, std::move(data));
    return *this;
}

Bytes AviBuilder::streamList() const {
    Bytes header;
    putCode(header, m_streamType);
    putCode(header, "mrle");
    for (int i = 0; i < 3; ++i)
        put32(header, 0); // flags, priority and language, initial frames
    put32(header, m_scale);
    put32(header, m_rate);
    put32(header, 0);
    put32(header, static_cast<std::uint32_t>(m_frames.size()));
    put32(header, 0);
    put32(header, 0xFFFFFFFF);
    put32(header, 0);
    for (int i = 0; i < 4; ++i)
        put16(header, 0);

    Bytes format;
    put32(format, 40);
    put32(format, static_cast<std::uint32_t>(m_width));
    put32(format, static_cast<std::uint32_t>(m_height));
    put16(format, 1);
    put16(format, m_bitCount);
    put32(format, m_compression);
    for (int i = 0; i < 3; ++i)
        put32(format, 0);
    put32(format, m_declaredColours >= 0 ? static_cast<std::uint32_t>(m_declaredColours)
                                         : static_cast<std::uint32_t>(m_palette.size()));
    put32(format, 0);
    for (const std::uint32_t rgb : m_palette)
        put32(format, rgb);

    Bytes body = chunk("strh", header);
    append(body, chunk("strf", format));
    return list("strl", body);
}

Bytes AviBuilder::build() const {
    Bytes main;
    put32(main, m_microSecondsPerFrame);
    for (int i = 0; i < 3; ++i)
        put32(main, 0);
    put32(main, static_cast<std::uint32_t>(m_frames.size()));
    put32(main, 0);
    put32(main, m_secondStream ? 2 : 1);
    put32(main, 0);
    put32(main, static_cast<std::uint32_t>(m_width));
    put32(main, static_cast<std::uint32_t>(m_height));
    for (int i = 0; i < 4; ++i)
        put32(main, 0);

    Bytes headers = chunk("avih", main);
    append(headers, streamList());
    if (m_secondStream)
        append(headers, streamList());

    Bytes movie;
    for (const auto& [code, data] : m_frames)
        append(movie, m_inRecords ? list("rec ", chunk(code, data)) : chunk(code, data));

    Bytes body;
    putCode(body, "AVI ");
    append(body, list("hdrl", headers));
    append(body, chunk("JUNK", Bytes(6, 0)));
    if (!m_withoutMovie)
        append(body, list("movi", movie));
    return chunk("RIFF", body);
}

} // namespace test
