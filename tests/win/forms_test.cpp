// Each window exists at most once: created on first reference, discarded by unloading.
#include <gtest/gtest.h>

#include "app/forms_win.h"
#include "app/frmWarning_win.h"
#include "sending/frmSending_win.h"

TEST(Forms, OneInstanceCreatedOnFirstUseAndFreshAfterUnload) {
  ASSERT_FALSE(frmWarning::IsLoaded());
  frmWarning& first = frmWarning::Get();
  EXPECT_EQ(&first, &frmWarning::Get());
  HWND window = first.hWnd();
  ASSERT_TRUE(::IsWindow(window));
  first.Mode = AlertMode::Phone;
  first.SetMessage(L"left over");

  first.Unload();
  EXPECT_FALSE(frmWarning::IsLoaded());
  EXPECT_FALSE(::IsWindow(window));
  frmWarning& again = frmWarning::Get();
  EXPECT_EQ(again.Mode, AlertMode::SendResult);  // the designer's state, not the old instance's
  EXPECT_EQ(again.Message(), L"");
  again.Unload();
}

TEST(Forms, UnloadingTheLastFormEndsTheMessageLoop) {
  frmSending::Get();
  frmWarning::Get();
  forms::UnloadAll();
  EXPECT_FALSE(forms::AnyLoaded());
  MSG msg;
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
}
