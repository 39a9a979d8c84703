#include "params/language.h"

#include <atomic>

namespace lang {

namespace {
std::atomic<int> g_languageCode{kEnglish};
}

int Code() { return g_languageCode.load(std::memory_order_relaxed); }
void SetCode(int code) { g_languageCode.store(code, std::memory_order_relaxed); }

} // namespace lang
