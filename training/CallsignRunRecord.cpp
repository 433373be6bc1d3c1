#include "training/CallsignRunRecord.h"

#include <algorithm>

double CallsignRunRecord::RightShare() const {
    if (answers.empty()) {
        return 0.0;
    }
    const auto right = std::count_if(answers.begin(), answers.end(),
                                     [](const Answer& answer) { return answer.right; });
    return static_cast<double>(right) / static_cast<double>(answers.size());
}
