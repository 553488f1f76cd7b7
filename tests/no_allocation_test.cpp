// Proves that a whole calculation and the counts allocate nothing: every
// allocation function of the program is replaced by one that counts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "core/NumberText.h"
#include "core/SecuritySentences.h"
#include "core/ConsequenceRules.h"
#include "core/StandingCounts.h"

namespace {
long allocations = 0;
}

void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
#if defined(__cpp_exceptions)
  throw std::bad_alloc();
#else
  std::abort();  // where there are no exceptions, as in the WebAssembly build
#endif
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
// The C library's own allocations too, where the platform lets a program
// stand in for them.
extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* malloc(std::size_t size) {
  ++allocations;
  return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) {
  ++allocations;
  return __libc_calloc(count, size);
}
void* realloc(void* p, std::size_t size) {
  ++allocations;
  return __libc_realloc(p, size);
}
}
#endif

namespace {

void calculate(const char* player1Status, const char* player2Status) {
  ScenarioState s;
  s.player1Name.assign("Ann");
  s.player2Name.assign("Bob");
  s.locationText.assign("Station");
  s.systemSecurityText.assign("0.4");
  s.player1SecurityText.assign(player1Status);
  s.player2SecurityText.assign(player2Status);
  s.flaggedToCorpmate = 1;
  ResultSet results;
  resetResults(results);
  evaluateConsequences(s, results);
  SecurityProjection projection;
  projectSecurity(s, projection);
  SecuritySentences sentences;
  markSecurityUnchanged(s, projection);
  composeSecuritySentences(s, projection, sentences);
  s.statsSubject = 1;
  StatisticsTexts statistics;
  composeStatistics(s, statistics);
  EXPECT_EQ(statistics.filled, 1);
}

TEST(NoAllocation, AWholeCalculationAndTheCountsAllocateNothing) {
  const long before = allocations;
  calculate("5.680743", "-4.9");
  calculate("0x1.8p1", "-9.9");
  calculate("1e-400", "3.4028235e38");
  calculate(" 0.000000000000000000000000000001", "-99999999999");
  const StandingCounts counts = countStanding(3.4028235e38);
  const long after = allocations;
  EXPECT_EQ(counts.aggressionsUntilBottom, 18160);
  EXPECT_EQ(after - before, 0);
}

TEST(NoAllocation, TheCounterSeesAnAllocation) {
  const long before = allocations;
  int* volatile p = new int(1);
  delete p;
  EXPECT_GT(allocations - before, 0);
}

}  // namespace
