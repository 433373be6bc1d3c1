#include "core/CNotifier.h"

CNotifier::~CNotifier() = default;
