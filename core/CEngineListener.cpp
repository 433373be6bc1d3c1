#include "core/CEngineListener.h"

CEngineListener::~CEngineListener() = default;
