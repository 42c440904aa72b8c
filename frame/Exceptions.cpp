#include "frame/Exceptions.h"

namespace kivotasuGameKit::KTL {

CTextString CException::GetError() const { return CTextString(); }

CRuntimeException::CRuntimeException(const CTextString& message)
    : m_message(message.IsEmpty() ? CTextString("実行時例外（範囲外の数値が指定されている)") : message)
{
}

CTextString CRuntimeException::GetError() const { return m_message; }

CTextString CIndexOutOfBoundsException::GetError() const { return "配列範囲外へのメモリへのアクセス"; }

CTextString CNullPointerException::GetError() const { return "Null pointerからのアクセス"; }

CTextString CInterruptedException::GetError() const { return "InterruptedException例外が発生"; }

CTextString CIllegalMonitorStateException::GetError() const { return "CIllegalMonitorStateException例外が発生"; }

CSyntaxException::CSyntaxException(const CTextString& message) : m_message(message) {}

CTextString CSyntaxException::GetError() const { return m_message; }

} // namespace kivotasuGameKit::KTL
