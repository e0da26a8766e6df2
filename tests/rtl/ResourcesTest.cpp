// Compiled-in resources, the string table and global memory blocks.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <stdexcept>

#include "Printers.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/GlobalBlock.h"
#include "platform/rtl/GlobalMemory.h"
#include "platform/rtl/KernelHandles.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/Resources.h"

namespace {

const unsigned char kThumb[] = {1, 2, 3, 4, 5};
const char kLayout[] = "object Form1";

TEST(ResourceTable, FindLoadLockAndStreams) {
  platform::RegisterResource(RT_BITMAP, "SKTRKBAR_H_THUMB", kThumb, sizeof kThumb);
  platform::RegisterResource(RT_RCDATA, MAKEINTRESOURCE(7), kLayout, sizeof kLayout - 1);
  HRSRC r = FindResourceA(HInstance, "sktrkbar_h_thumb", RT_BITMAP);  // names ignore case
  ASSERT_NE(nullptr, r);
  EXPECT_EQ(5u, SizeofResource(nullptr, r));
  const void* data = LockResource(LoadResource(HInstance, r));
  EXPECT_EQ(0, std::memcmp(kThumb, data, sizeof kThumb));
  EXPECT_NE(nullptr, FindResourceW(nullptr, u"SKTRKBAR_H_THUMB", MAKEINTRESOURCEW(2)));
  EXPECT_NE(nullptr, FindResourceA(nullptr, "#7", RT_RCDATA));
  EXPECT_EQ(nullptr, FindResourceA(nullptr, "MISSING", RT_BITMAP));
  EXPECT_EQ(ERROR_RESOURCE_NAME_NOT_FOUND, GetLastError());
  EXPECT_EQ(nullptr, FindResourceA(nullptr, "MISSING", RT_GROUP_ICON));
  EXPECT_EQ(ERROR_RESOURCE_TYPE_NOT_FOUND, GetLastError());
  EXPECT_TRUE(IS_INTRESOURCE(RT_BITMAP));
  EXPECT_FALSE(IS_INTRESOURCE("name"));

  TResourceStream s(HInstance, "SKTRKBAR_H_THUMB", RT_BITMAP);
  EXPECT_EQ(5, s.Size());
  unsigned char buf[8];
  EXPECT_EQ(5, s.Read(buf, 8));
  EXPECT_THROW(s.Write(buf, 1), EStreamError);
  std::unique_ptr<TResourceStream> byId(TResourceStream::CreateFromID(HInstance, 7, RT_RCDATA));
  EXPECT_EQ(static_cast<std::int64_t>(sizeof kLayout - 1), byId->Size());
  try {
    TResourceStream missing(HInstance, "NOPE", RT_RCDATA);
    FAIL();
  } catch (const EResNotFound& e) {
    EXPECT_EQ(AnsiString("Resource NOPE not found"), e.Message);
  }
}

TEST(ResourceTable, StringTableAndExceptionsFromIt) {
  platform::RegisterResourceString(65000, u"Cannot open file %s");
  platform::RegisterResourceString(65001, u"a\U0001F600");
  char16_t wide[3];
  EXPECT_EQ(1, LoadStringW(HInstance, 65001, wide, 3));  // the pair does not fit whole
  EXPECT_EQ(std::u16string(u"a"), std::u16string(wide));
  const char16_t* direct = nullptr;
  EXPECT_EQ(3, LoadStringW(HInstance, 65001, reinterpret_cast<LPWSTR>(&direct), 0));
  EXPECT_EQ(std::u16string(u"a\U0001F600"), std::u16string(direct));
  char narrow[4];
  EXPECT_EQ(1, LoadStringA(HInstance, 65001, narrow, 4));  // never half a UTF-8 sequence
  EXPECT_STREQ("a", narrow);
  EXPECT_EQ(0, LoadStringA(HInstance, 1, narrow, 4));
  EXPECT_EQ(AnsiString("Cannot open file %s"), LoadStr(65000));
  EFOpenError e(65000, {TVarRec("x.mms")});
  EXPECT_EQ(AnsiString("Cannot open file x.mms"), e.Message);
  TResStringRec rec{&HInstance, 65000};
  Exception r(&rec, 5);
  EXPECT_EQ(AnsiString("Cannot open file %s"), r.Message);
  EXPECT_EQ(5, r.HelpContext);
}

// A lock held for a scope goes on every way out; an owned block is freed unless it was given away.
TEST(GlobalBlocks, ScopedLocksAndOwnedBlocks) {
  HGLOBAL kept = nullptr, lost = nullptr;
  try {
    OwnedGlobal given(GlobalAlloc(GMEM_MOVEABLE, 4));
    OwnedGlobal dropped(GlobalAlloc(GMEM_MOVEABLE, 4));
    kept = given.Get();
    lost = dropped.Get();
    LockedGlobal lock(kept);
    ASSERT_NE(nullptr, lock.As<char>());
    EXPECT_EQ(4u, lock.Size());
    lock.As<char>()[0] = 'x';
    given.Release();
    throw std::runtime_error("copy failed");
  } catch (const std::runtime_error&) {
  }
  ASSERT_NE(nullptr, kept);
  EXPECT_EQ('x', static_cast<char*>(GlobalLock(kept))[0]);
  EXPECT_FALSE(GlobalUnlock(kept));  // the scope's lock had gone: this was the only one
  EXPECT_EQ(nullptr, GlobalFree(kept));
  EXPECT_EQ(lost, GlobalFree(lost));  // freed by its owner already
  LockedGlobal none(nullptr);
  EXPECT_EQ(nullptr, none.As<char>());
}

TEST(GlobalBlocks, AllocLockSizeFree) {
  HGLOBAL h = GlobalAlloc(GHND, 16);
  ASSERT_NE(nullptr, h);
  EXPECT_EQ(16u, GlobalSize(h));
  auto* p = static_cast<unsigned char*>(GlobalLock(h));
  ASSERT_NE(nullptr, p);
  EXPECT_EQ(0, p[15]);
  p[0] = 42;
  EXPECT_EQ(p, GlobalLock(h));
  EXPECT_TRUE(GlobalUnlock(h));   // still locked once
  EXPECT_FALSE(GlobalUnlock(h));  // the last lock went
  EXPECT_EQ(NO_ERROR, GetLastError());
  EXPECT_EQ(h, GlobalReAlloc(h, 32, GMEM_MOVEABLE));
  EXPECT_EQ(32u, GlobalSize(h));
  EXPECT_EQ(42, static_cast<unsigned char*>(GlobalLock(h))[0]);
  EXPECT_EQ(nullptr, GlobalReAlloc(h, 64, GMEM_MOVEABLE));  // locked blocks stay put
  GlobalUnlock(h);
  EXPECT_FALSE(CloseHandle(h));  // not a kernel object CloseHandle takes
  EXPECT_EQ(nullptr, GlobalFree(h));
  EXPECT_EQ(h, GlobalFree(h));
  EXPECT_EQ(nullptr, GlobalLock(h));
  EXPECT_EQ(0u, GlobalSize(h));
  EXPECT_EQ(nullptr, GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(1) << 62));
  EXPECT_EQ(ERROR_NOT_ENOUGH_MEMORY, GetLastError());
}

}  // namespace
