#pragma once
// The picture families of the layers and of CUT.

#include "script/tag/ActElement.h"
#include "script/tag/BackElement.h"
#include "script/tag/CutElement.h"
#include "script/tag/PaintElement.h"
#include "script/tag/VisualElement.h"
