#include "platform/TextStream.h"

#include <stdio.h>
#include <sys/types.h>

#include <string>

namespace platform {
namespace {

ssize_t ReadText(void* cookie, char* buffer, size_t size)
{
    std::FILE* binary = static_cast<std::FILE*>(cookie);
    size_t n = 0;
    while (n < size) {
        int c = getc(binary);
        if (c == EOF) break;
        if (c == '\r') {
            const int next = getc(binary);
            if (next == '\n') c = '\n';
            else if (next != EOF) ungetc(next, binary);
        }
        buffer[n++] = char(c);
    }
    return n == 0 && ferror(binary) ? -1 : ssize_t(n);
}

ssize_t WriteText(void* cookie, const char* buffer, size_t size)
{
    std::FILE* binary = static_cast<std::FILE*>(cookie);
    for (size_t i = 0; i < size; ++i) {
        if (buffer[i] == '\n' && putc('\r', binary) == EOF) return i == 0 ? -1 : ssize_t(i);
        if (putc(buffer[i], binary) == EOF) return i == 0 ? -1 : ssize_t(i);
    }
    return ssize_t(size);
}

int SeekText(void* cookie, off64_t* offset, int whence)
{
    std::FILE* binary = static_cast<std::FILE*>(cookie);
    if (fseeko(binary, *offset, whence) != 0) return -1;
    *offset = ftello(binary);
    return *offset < 0 ? -1 : 0;
}

int CloseText(void* cookie) { return fclose(static_cast<std::FILE*>(cookie)); }

} // namespace

bool IsTextMode(std::string_view mode) { return mode.find('b') == std::string_view::npos; }

std::FILE* WrapTextStream(std::FILE* binary, std::string_view mode)
{
    const cookie_io_functions_t functions{ReadText, WriteText, SeekText, CloseText};
    std::string cookieMode;
    for (char c : mode) {
        if (c != 't') cookieMode += c;
    }
    return fopencookie(binary, cookieMode.c_str(), functions);
}

} // namespace platform
