#include "support/BenchMessageBoxes.h"

#include "platform/gui/MessageBoxAnswer.h"
#include "platform/gui/Services.h"

namespace bench {

BenchMessageBoxes::BenchMessageBoxes() {
    platform::Services::install(this);
}

BenchMessageBoxes::~BenchMessageBoxes() {
    platform::Services::install(static_cast<platform::MessageBoxService*>(nullptr));
}

int BenchMessageBoxes::show(const platform::MessageBoxRequest& request) {
    m_texts.push_back(request.text);
    return platform::MessageBoxAnswer::ok;
}

} // namespace bench
