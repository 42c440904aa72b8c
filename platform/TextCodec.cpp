#include "platform/TextCodec.h"

#include <iconv.h>

#include <cerrno>

namespace platform {
namespace {

// The length of the unconvertible character at the start of text.
using SkipFunction = std::size_t (*)(const char* text, std::size_t size);

std::size_t SkipCp932(const char* text, std::size_t size)
{
    unsigned char lead = static_cast<unsigned char>(text[0]);
    bool twoBytes = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
    return twoBytes && size > 1 ? 2 : 1;
}

std::size_t SkipUtf8(const char* text, std::size_t size)
{
    std::size_t length = 1;
    while (length < size && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) ++length;
    return length;
}

// One converter per direction and thread: iconv descriptors keep state.
class Converter {
public:
    Converter(const char* to, const char* from, SkipFunction skip) : m_cd(iconv_open(to, from)), m_skip(skip) {}
    ~Converter()
    {
        if (m_cd != reinterpret_cast<iconv_t>(-1)) iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::string Convert(std::string_view input)
    {
        std::string output;
        if (m_cd == reinterpret_cast<iconv_t>(-1)) return output;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        char buffer[256];
        while (inLeft > 0) {
            char* out = buffer;
            std::size_t outLeft = sizeof buffer;
            std::size_t result = iconv(m_cd, &in, &inLeft, &out, &outLeft);
            output.append(buffer, out);
            if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
            std::size_t skipped = m_skip(in, inLeft);
            output += '?';
            in += skipped;
            inLeft -= skipped;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        iconv(m_cd, nullptr, nullptr, &out, &outLeft);
        output.append(buffer, out);
        return output;
    }

private:
    iconv_t m_cd;
    SkipFunction m_skip;
};

} // namespace

std::string Cp932ToUtf8(std::string_view cp932)
{
    thread_local Converter converter("UTF-8", "CP932", SkipCp932);
    return converter.Convert(cp932);
}

std::string Utf8ToCp932(std::string_view utf8)
{
    thread_local Converter converter("CP932", "UTF-8", SkipUtf8);
    return converter.Convert(utf8);
}

} // namespace platform
