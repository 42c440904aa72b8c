#pragma once

#include "frame/TextString.h"

namespace kivotasuGameKit::KTL {

// The base library's programming errors. Thrown and caught by value; the text
// says what went wrong in the system's own words.
class CException {
public:
    virtual ~CException() = default;
    virtual CTextString GetError() const;
};

class CRuntimeException : public CException {
public:
    explicit CRuntimeException(const CTextString& message = CTextString());
    CTextString GetError() const override;

private:
    CTextString m_message;
};

class CIndexOutOfBoundsException : public CException {
public:
    CTextString GetError() const override;
};

class CNullPointerException : public CException {
public:
    CTextString GetError() const override;
};

class CInterruptedException : public CException {
public:
    CTextString GetError() const override;
};

class CIllegalMonitorStateException : public CException {
public:
    CTextString GetError() const override;
};

class CSyntaxException : public CException {
public:
    explicit CSyntaxException(const CTextString& message);
    CTextString GetError() const override;

private:
    CTextString m_message;
};

} // namespace kivotasuGameKit::KTL
