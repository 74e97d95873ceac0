#include "platform/rtl/WaitObjects.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// Runs Body on another thread and waits for it.
template <class F>
auto OnSecondThread(F Body) {
  decltype(Body()) Result{};
  std::thread T([&] { Result = Body(); });
  T.join();
  return Result;
}

TEST(WaitObjects, AMutexIsRecursiveAndBelongsToTheThreadThatTookIt) {
  HANDLE M = CreateMutex(nullptr, 1, nullptr);
  ASSERT_NE(M, nullptr);
  EXPECT_EQ(WaitForSingleObject(M, 0), WAIT_OBJECT_0);  // the owner takes it again
  EXPECT_EQ(OnSecondThread([&] { return WaitForSingleObject(M, 0); }), WAIT_TIMEOUT);
  EXPECT_EQ(OnSecondThread([&] { return ReleaseMutex(M); }), 0);
  EXPECT_EQ(OnSecondThread([&] { return GetLastError(); }), 0u);  // each thread its own error
  EXPECT_TRUE(ReleaseMutex(M));
  EXPECT_EQ(OnSecondThread([&] { return WaitForSingleObject(M, 0); }), WAIT_TIMEOUT);  // held once more
  EXPECT_TRUE(ReleaseMutex(M));
  EXPECT_FALSE(ReleaseMutex(M));
  EXPECT_EQ(GetLastError(), ERROR_NOT_OWNER);
  // Free now: another thread takes it and keeps it after its wait.
  EXPECT_EQ(OnSecondThread([&] { return WaitForSingleObject(M, 0); }), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(M, 0), WAIT_TIMEOUT);
  EXPECT_TRUE(CloseHandle(M));
  EXPECT_FALSE(CloseHandle(M));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(WaitForSingleObject(M, 0), WAIT_FAILED);
}

TEST(WaitObjects, EventsResetByThemselvesOnlyWhenAutoReset) {
  HANDLE Manual = CreateEvent(nullptr, 1, 0, nullptr);
  HANDLE Auto = CreateEvent(nullptr, 0, 1, nullptr);
  ASSERT_NE(Manual, nullptr);
  ASSERT_NE(Auto, nullptr);
  EXPECT_EQ(WaitForSingleObject(Manual, 0), WAIT_TIMEOUT);
  EXPECT_TRUE(SetEvent(Manual));
  EXPECT_EQ(WaitForSingleObject(Manual, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(Manual, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(ResetEvent(Manual));
  EXPECT_EQ(WaitForSingleObject(Manual, 0), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForSingleObject(Auto, 0), WAIT_OBJECT_0);  // initially set, taken once
  EXPECT_EQ(WaitForSingleObject(Auto, 0), WAIT_TIMEOUT);
  // The first signalled object of the array answers.
  SetEvent(Manual);
  SetEvent(Auto);
  const HANDLE Both[] = {Auto, Manual};
  EXPECT_EQ(WaitForMultipleObjects(2, Both, 0, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForMultipleObjects(2, Both, 0, 0), WAIT_OBJECT_0 + 1);
  CloseHandle(Manual);
  CloseHandle(Auto);
}

TEST(WaitObjects, BadArgumentsFailTheWait) {
  HANDLE E = CreateEvent(nullptr, 1, 1, nullptr);
  const HANDLE Two[] = {E, E};
  EXPECT_EQ(WaitForMultipleObjects(0, Two, 0, 0), WAIT_FAILED);
  EXPECT_EQ(WaitForMultipleObjects(2, Two, 1, 0), WAIT_FAILED);  // waiting for all is not offered
  EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(WaitForSingleObject(INVALID_HANDLE_VALUE, 0), WAIT_FAILED);
  EXPECT_EQ(CreateEvent(nullptr, 1, 0, "Global\\Named"), nullptr);  // no objects shared between processes
  EXPECT_FALSE(SetEvent(nullptr));
  CloseHandle(E);
}

TEST(WaitObjects, AWaitEndsWhenAnotherThreadSignals) {
  HANDLE E = CreateEvent(nullptr, 0, 0, nullptr);
  std::thread Setter([&] { SetEvent(E); });
  EXPECT_EQ(WaitForSingleObject(E, 10000), WAIT_OBJECT_0);
  Setter.join();
  CloseHandle(E);
}

}  // namespace
