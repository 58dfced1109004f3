#include "app/shell/startup_report.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/replacing_file.h"

namespace zentrik::app {

void AccountingTiming::sleep_ms(int ms) {
    const std::int64_t now = real_.now_us();
    std::int64_t none = 0;
    first_us_.compare_exchange_strong(none, now);
    last_us_ = now;
    slept_ms_ += ms;
    real_.sleep_ms(ms);
}

void AccountingTiming::write_report() {
    const char* file = std::getenv("ZENTRIK_STARTUP_REPORT");
    if (!file || !*file || written_.exchange(true))
        return;
    const std::string text = "sleeps_ms=" + std::to_string(slept_ms_.load()) +
                             "\nfirst_sleep_us=" + std::to_string(first_us_.load()) +
                             "\nlast_sleep_us=" + std::to_string(last_us_.load()) +
                             "\ndone_us=" + std::to_string(real_.now_us()) + "\n";
    std::string error;
    if (!platform::replace_file(file, text, &error))
        std::fprintf(stderr, "zentrik: the start-up report was not written (%s)\n", error.c_str());
}

}  // namespace zentrik::app
