#include "common/ui/warm_up.h"

namespace common {

WarmUp::WarmUp(void (*work)()) : m_done(std::async(std::launch::async, work)) {}

WarmUp::~WarmUp() {
    if (m_done.valid()) m_done.wait();
}

}  // namespace common
