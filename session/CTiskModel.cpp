#include "session/CTiskModel.h"

#include <algorithm>

#include "session/CMorseSession.h"

CTiskModel::CTiskModel(CMorseSession& collectingSession) : session(&collectingSession) {}

CTiskModel::CTiskModel() = default;

std::optional<std::string> CTiskModel::Begin() {
    return session == nullptr ? std::nullopt : session->CollectionToPrint();
}

void CTiskModel::Finish() {
    if (session != nullptr) {
        session->ClearPrintCollection();
    }
}

CTiskModel::View CTiskModel::GetView() const {
    View view;
    view.landscape = session == nullptr;
    return view;
}

int CTiskModel::HeadingPixelSize(int pageHeight) {
    return std::max(8, pageHeight / 45);
}

CTiskModel::HeadingPlacement CTiskModel::Heading(int lines, int ascent, int lineHeight) {
    HeadingPlacement placement;
    int baseline = ascent;
    for (int k = 0; k < lines; ++k) {
        placement.baselines.push_back(baseline);
        baseline += lineHeight;
    }
    // One empty line below the last line's baseline.
    placement.pictureTop = baseline + lineHeight;
    return placement;
}
