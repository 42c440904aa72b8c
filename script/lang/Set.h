#pragma once
// The process-wide variable store of the scripts.

#include <boost/shared_ptr.hpp>

#include "script/lang/SetImplement.h"

class CSet {
public:
    using CTextString = kivotasuGameKit::CTextString;

    static CSet& GetInstance();

    void Clear(bool keepGlobals = false) { m_impl->Clear(keepGlobals); }
    void Set(const CTextString& name, const CTextString& value, bool global = false) { m_impl->Set(name, value, global); }
    void Expand(CTextString& text) const { m_impl->Expand(text); }
    bool IsDefined(const CTextString& name) const { return m_impl->IsDefined(name); }
    void Evaluate(CTextString& text) { m_impl->Evaluate(text); }
    void WriteLocals(kivotasuGameKit::CTextFileWriter& writer) const { m_impl->WriteLocals(writer); }
    void WriteGlobals(kivotasuGameKit::CTextFileWriter& writer) const { m_impl->WriteGlobals(writer); }

private:
    CSet();

    boost::shared_ptr<CSet_Implement> m_impl;
};
