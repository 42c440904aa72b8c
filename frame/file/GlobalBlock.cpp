#include "frame/file/GlobalBlock.h"

#include <cstring>
#include <new>

#include "frame/Exceptions.h"

namespace kivotasuGameKit {

namespace {

class CBadAllocation : public std::bad_alloc {
public:
    const char* what() const noexcept override { return "bad allocation"; }
};

} // namespace

void CGlobalBlock::Alloc(std::size_t size)
{
    Free();
    m_block = new (std::nothrow) std::uint8_t[size]();
    if (!m_block) throw CBadAllocation();
    m_size = size;
}

void CGlobalBlock::Write(std::size_t offset, const void* source, std::size_t n)
{
    if (!m_block || offset > m_size || n > m_size - offset) throw KTL::CIndexOutOfBoundsException();
    std::memcpy(m_block + offset, source, n);
}

void CGlobalBlock::Free()
{
    delete[] m_block;
    m_block = nullptr;
    m_size = 0;
}

} // namespace kivotasuGameKit
