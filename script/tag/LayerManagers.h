#pragma once
// The picture families of the layers and of CUT. Their elements come with the
// element model; the engine already routes their tags here.

#include "script/tag/ElementManager.h"

namespace TAG {

class CActManager : public CElementManager {};
class CBackManager : public CElementManager {};
class CPaintManager : public CElementManager {};
class CVisualManager : public CElementManager {};
class CCutManager : public CElementManager {};

} // namespace TAG
