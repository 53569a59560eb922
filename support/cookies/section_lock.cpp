#include "support/cookies/section_lock.h"

namespace vardelle {

void SectionLock::Enter() { mutex.lock(); }

void SectionLock::Leave() { mutex.unlock(); }

}  // namespace vardelle
