// The surface record: lock protocol, pixel reading, clamping, packing.

#include <gtest/gtest.h>

#include "draw/effect/SurfaceInfo.h"
#include "frame/Exceptions.h"
#include "tests/kit/pixel/TestSurface.h"

using namespace kivotasuGameKit;
using pixelkit::TestSurface;

namespace {

TEST(SurfaceInfoTest, LockPairsAndRefusesMisuse)
{
    CSurfaceInfo empty;
    EXPECT_EQ(empty.Lock(), -1);
    EXPECT_EQ(empty.Unlock(), -1);

    TestSurface s(pixelkit::kRGB565, 2, 2);
    EXPECT_EQ(s->Lock(), 0);
    EXPECT_THROW(s->Lock(), KTL::CRuntimeException);
    EXPECT_TRUE(s->IsLocked());
    EXPECT_EQ(s->Unlock(), 0);
    EXPECT_THROW(s->Unlock(), KTL::CRuntimeException);
    EXPECT_FALSE(s->IsLocked());
}

TEST(SurfaceInfoTest, RefusedLockAndReinitialisationLeaveTheRecordUnlocked)
{
    TestSurface s(pixelkit::kRGB565, 2, 2);
    s.Locker().refuseLock = true;
    EXPECT_EQ(s->Lock(), 1);
    EXPECT_FALSE(s->IsLocked());
    s.Locker().refuseLock = false;
    EXPECT_EQ(s->Lock(), 0);
    const SIZE size{2, 2};
    s->Init(s->GetPixels(), s->GetPitch(), &size, RGB565);
    EXPECT_FALSE(s->IsLocked());
    EXPECT_EQ(s->Lock(), 0);
    EXPECT_EQ(s->Unlock(), 0);

    CSurfaceInfo refusing;
    refusing.SetLocker(CSmartPtr<ISurfaceLocker>(new CRefusingSurfaceLocker));
    refusing.Init(s->GetPixels(), s->GetPitch(), &size, RGB565);
    EXPECT_EQ(refusing.Lock(), 1);
    EXPECT_EQ(refusing.Lock(), 1);
}

TEST(SurfaceInfoTest, GetPixelGivesTheValueFormOfEveryFormat)
{
    std::mt19937 rng(7);
    for (int32_t type : pixelkit::AllFormats()) {
        TestSurface s(type, 3, 2);
        s.FillRandom(rng);
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 3; ++x) {
                uint32_t colour = 0xDEADBEEF;
                ASSERT_EQ(s->GetPixel(x, y, &colour), 0);
                EXPECT_EQ(colour, pixelkit::RefValue(type, s.Cell(x, y))) << pixelkit::TypeName(type);
            }
        }
        uint32_t untouched = 5;
        EXPECT_EQ(s->GetPixel(3, 0, &untouched), -1);
        EXPECT_EQ(s->GetPixel(0, -1, &untouched), -1);
        EXPECT_EQ(untouched, 5u);
        EXPECT_FALSE(s->IsLocked());
    }
    TestSurface white(pixelkit::kRGB565, 1, 1), alpha(pixelkit::kARGB4555, 1, 1), none(9, 1, 1);
    white.Cell(0, 0)[0] = white.Cell(0, 0)[1] = 0xFF;
    alpha.Cell(0, 0)[0] = 0xFF;
    alpha.Cell(0, 0)[1] = 0x7F;
    alpha.Cell(0, 0)[2] = 15;
    uint32_t c = 0;
    white->GetPixel(0, 0, &c);
    EXPECT_EQ(c, 0x00F8FCF8u);
    alpha->GetPixel(0, 0, &c);
    EXPECT_EQ(c, 0xF0F8F8F8u);
    EXPECT_EQ(none->GetPixel(0, 0, &c), -2);
    EXPECT_EQ(c, 0u);

    TestSurface refused(pixelkit::kRGB565, 1, 1);
    refused.Locker().refuseLock = true;
    c = 9;
    EXPECT_EQ(refused->GetPixel(0, 0, &c), 0);
    EXPECT_EQ(c, 9u);
}

TEST(SurfaceInfoTest, ClipRectClampsToTheSurface)
{
    TestSurface s(pixelkit::kRGB565, 20, 10);
    RECT out;
    const RECT wide{-5, -5, 25, 15};
    s->ClipRect(&out, &wide);
    EXPECT_EQ(out.left, 0);
    EXPECT_EQ(out.top, 0);
    EXPECT_EQ(out.right, 20);
    EXPECT_EQ(out.bottom, 10);
    const RECT inner{3, 4, 5, 6};
    s->ClipRect(&out, &inner);
    EXPECT_EQ(out.left, 3);
    EXPECT_EQ(out.bottom, 6);
}

TEST(SurfaceInfoTest, PackingAndDerivedValues)
{
    EXPECT_EQ(CSurfaceInfo::PackRGB565(255, 255, 255), 0xFFFF);
    EXPECT_EQ(CSurfaceInfo::PackRGB555(255, 255, 255), 0x7FFF);
    EXPECT_EQ(CSurfaceInfo::PackRGB565(7, 3, 7), 0);
    EXPECT_EQ(CSurfaceInfo::ToAlphaType(RGB565), ARGB4565);
    EXPECT_EQ(CSurfaceInfo::ToAlphaType(Pal8), ARGB4555);
    EXPECT_EQ(CSurfaceInfo::ToAlphaType(RGB555), ARGB4555);
    EXPECT_EQ(CSurfaceInfo::ToAlphaType(RGB888), ARGB8888);
    EXPECT_EQ(CSurfaceInfo::ToAlphaType(XRGB8888), ARGB8888);
    EXPECT_EQ(CSurfaceInfo::ToAlphaType(BGR888), ABGR8888);
    EXPECT_EQ(CSurfaceInfo::ToAlphaType(XBGR8888), ABGR8888);
    EXPECT_EQ(CSurfaceInfo::ToAlphaType(ARGB4565), ARGB4565);
    EXPECT_EQ(CSurfaceInfo::ToAlphaType(SurfaceType(9)), SurfaceType(9));
    for (int32_t t : pixelkit::AllTypeCodes()) {
        TestSurface s(t, 1, 1);
        EXPECT_EQ(s->GetBytesPerPixel(), pixelkit::RefBytes(t)) << t;
    }
}

} // namespace
