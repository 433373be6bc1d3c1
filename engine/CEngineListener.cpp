#include "engine/CEngineListener.h"

CEngineListener::~CEngineListener() = default;
