#include "session/MainLayout.h"

#include "session/ControlIds.h"

namespace {

// Font heights are searched up to this one; no screen needs more.
constexpr int kLargestFontHeight = 400;
constexpr int kSliderWidth = 40;

}  // namespace

int DialogFontSize(int screenWidth) {
    if (screenWidth <= 1000) {
        return 8;
    }
    if (screenWidth <= 1400) {
        return 10;
    }
    if (screenWidth <= 1600) {
        return 11;
    }
    return 12;
}

int FitMorseFont(int screenWidth, const MorseFontMeasure& measure) {
    const int u = screenWidth / 100;
    const int target = screenWidth - screenWidth / 3 + 50;
    const auto reaches = [&](int height) { return 6 * u + measure(height).width >= target; };
    // Text widths grow with the height, so the first height that reaches is found by halving
    // the range: a handful of font loads instead of one per height.
    int low = 10;
    int high = kLargestFontHeight;
    if (reaches(low)) {
        return low;
    }
    while (high - low > 1) {
        const int middle = (low + high) / 2;
        if (reaches(middle)) {
            high = middle;
        } else {
            low = middle;
        }
    }
    return high;
}

MainLayout ComputeMainLayout(const LayoutInput& input, const MorseFontMeasure& measure) {
    MainLayout l;
    const int W = input.screenWidth;
    const int H = input.usableHeight;
    const int u = W / 100;
    const int v = H / 100;
    const int pt = input.pointSize;
    l.W = W;
    l.H = H;
    l.u = u;
    l.v = v;
    l.pt = pt;
    const int rowHeight = 2 * pt;
    const int BW = 10 * pt;
    const int BH = BW / 3;
    auto& c = l.controls;

    // Morse font fitting: the view holds 60 and a half characters of the fitted font.
    l.fontHeight = FitMorseFont(W, measure);
    const TextExtent extent = measure(l.fontHeight);
    l.lineHeight = extent.height;
    l.viewHeight = static_cast<int>(extent.height * 5.3);
    const double character = extent.width / 61.0;
    l.sixCharacters = static_cast<int>(6 * character);
    l.viewWidth = static_cast<int>(extent.width - character / 2);
    l.viewLeft = 3 * u + (W - 6 * u - l.viewWidth) / 3;
    l.viewTop = 5 * u + 8 * v;
    const int L = l.viewHeight;

    // Top block.
    c[ids::kMorseTextFrame] = {3 * u, v, W - 6 * u, L + 14 * v + 5 * u};
    c[ids::kMorseText] = {l.viewLeft, l.viewTop, l.viewWidth, L};
    c[ids::kHideText] = {l.viewLeft, (l.viewTop - v) / 2, 26 * input.averageCharWidth, rowHeight};

    // The band between the text and the sending buttons.
    const int C = L + 8 * v + 10 * u;
    const int F = H - H / 7 - 5 * u;
    const int D = F - C;
    const int centreX = W / 2 - BW / 2;
    c[ids::kTextFrame] = {centreX - 3 * u, C, BW + 6 * u, D};
    const int K = C + D / 4 - BW / 6;
    const int M = C + D / 2;
    int J = M + (F - M) / 2 - BW / 6;
    int g = (J - 3 * BH - K) / 3;
    // On a low screen the band is too short for four buttons at these places; they then keep a
    // small gap and the last one moves down with them.
    constexpr int kSmallestGap = 4;
    if (g < kSmallestGap) {
        g = kSmallestGap;
        J = K + 3 * (BH + g);
    }
    c[ids::kLoad] = {centreX, K, BW, BH};
    c[ids::kSave] = {centreX, K + BH + g, BW, BH};
    c[ids::kCustom] = {centreX, K + 2 * (BH + g), BW, BH};
    c[ids::kToPrint] = {centreX, J, BW, BH};
    const int Hb = J + BH - K;

    // Left column: the generator settings.
    const int generatorRight = centreX - 3 * u - u;
    c[ids::kGeneratorFrame] = {3 * u, C, generatorRight - 3 * u, D};
    const int blockTop = C + (D - Hb) / 2;
    const int rows[3] = {blockTop, blockTop + Hb / 3, blockTop + 2 * Hb / 3};
    const int innerWidth = generatorRight - u - 4 * u;
    c[ids::kLettersLabel] = {4 * u, rows[0], innerWidth, rowHeight};
    c[ids::kLetters] = {4 * u, rows[0] + rowHeight, innerWidth, rowHeight};
    c[ids::kDigitsLabel] = {4 * u, rows[1], innerWidth, rowHeight};
    c[ids::kDigits] = {4 * u, rows[1] + rowHeight, 17 * pt, rowHeight};
    c[ids::kShortZeros] = {17 * pt + 6 * u, rows[1] + rowHeight,
                           generatorRight - u - (17 * pt + 6 * u), rowHeight};
    c[ids::kTextKindLabel] = {4 * u, rows[2], 15 * pt, rowHeight};
    c[ids::kTextKind] = {4 * u, rows[2] + v / 2 + rowHeight, 15 * pt, rowHeight + 4};
    const int listRight = 4 * u + 15 * pt;
    c[ids::kGenerate] = {listRight + (generatorRight - listRight - BW) / 2, J, BW, BH};

    // Right column: output settings.
    const int R = W / 2 + BW / 2 + 4 * u;
    const int Wr = W - R - 3 * u;
    c[ids::kOutputFrame] = {R, C, Wr, H - 2 * u - C};
    const int Ws = 2 * Wr / 3 - 2 * u;
    const int stackX = R + (Wr - 7 * u - Ws - kSliderWidth) / 2 + u;
    const int parametersTop = C + 4 * v;
    const int ratioTop = parametersTop + Hb + v;
    c[ids::kParametersFrame] = {stackX, parametersTop, Ws, Hb};
    c[ids::kRatioFrame] = {stackX, ratioTop, Ws, Hb};
    const int listX = stackX + u;
    const int parameterStep = (Hb - 3 * pt - v) / 3;
    const int parameterLists[3][2] = {{ids::kTone, ids::kToneLabel},
                                      {ids::kTextSpeed, ids::kTextSpeedLabel},
                                      {ids::kSignSpeed, ids::kSignSpeedLabel}};
    for (int i = 0; i < 3; ++i) {
        const int y = parametersTop + 2 * pt + v + i * parameterStep;
        c[parameterLists[i][0]] = {listX, y, 6 * pt, rowHeight + 4};
        c[parameterLists[i][1]] = {listX + 6 * pt + u, y + 2, Ws - 8 * pt - 2 * u, rowHeight};
    }
    const int ratioStep = (Hb - 3 * pt - v) / 4;
    int y = ratioTop + 2 * pt + v;
    c[ids::kRatio] = {listX, y, 7 * pt, rowHeight + 4};
    c[ids::kRatioLabel] = {listX + 7 * pt + u, y + 2, Ws - 9 * pt - 2 * u, rowHeight};
    y += ratioStep;
    c[ids::kResultHeading] = {listX, y + 2, Ws - 2 * u, rowHeight};
    y += ratioStep;
    c[ids::kResultText] = {listX, y, 5 * pt, rowHeight};
    c[ids::kResultTextLabel] = {listX + 5 * pt + u, y, Ws - 7 * pt - 2 * u, rowHeight};
    y += ratioStep;
    c[ids::kResultSign] = {listX, y, 5 * pt, rowHeight};
    c[ids::kResultSignLabel] = {listX + 5 * pt + u, y, Ws - 7 * pt - 2 * u, rowHeight};
    const int volumeX = stackX + Ws + u;
    c[ids::kVolumeFrame] = {volumeX, parametersTop, 4 * u + kSliderWidth, 2 * (Hb - 2 * v) + 5 * v};
    c[ids::kVolume] = {volumeX + 2 * u, parametersTop + 3 * v, kSliderWidth, 2 * (Hb - 2 * v)};

    // Bottom: the sending buttons.
    const int sendingTop = F + v;
    const int sendingHeight = H - 2 * u - sendingTop;
    c[ids::kSendingFrame] = {3 * u, sendingTop, W / 2 + BW / 2, sendingHeight};
    const int gap = (W / 2 + BW / 2 - 4 * (BW + u)) / 3;
    const int buttonY = sendingTop + (sendingHeight - BH) / 2;
    const int sendingButtons[4] = {ids::kStart, ids::kStop, ids::kPause, ids::kStep};
    for (int i = 0; i < 4; ++i) {
        c[sendingButtons[i]] = {5 * u + i * (BW + gap), buttonY, BW, BH};
    }
    return l;
}
