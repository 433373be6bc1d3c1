#pragma once

#include <optional>
#include <string>
#include <vector>

class CMorseSession;

// A print job's rules. The numbered sheets of the collected texts go out in one collated copy in
// portrait; when nothing was collected, the text shown is collected first, and after the job,
// printed, cancelled or failed, the collection is empty again. A checked copy goes on one page in
// landscape under its heading, whose letters are a 45th of the page's height (8 pixels at least),
// with one empty line between the heading and the picture. One operation per user action; the
// window renders View() and places the heading by Heading().
class CTiskModel {
public:
    struct View {
        bool landscape = false;
        int copies = 1;
        bool collate = true;
    };
    // The heading's text lines on the page, in the page's pixels.
    struct HeadingPlacement {
        std::vector<int> baselines;
        int pictureTop = 0;
    };

    // The job of the collected texts; `session` outlives the model.
    explicit CTiskModel(CMorseSession& session);
    // The job of one checked copy.
    CTiskModel();

    // Print: the file of the collected texts, none when there is nothing to print (the session
    // has said why).
    std::optional<std::string> Begin();
    // The job is over, whatever became of it.
    void Finish();

    View GetView() const;
    static int HeadingPixelSize(int pageHeight);
    // `lines` lines of a font with `ascent` and `lineHeight` at the top of the page.
    static HeadingPlacement Heading(int lines, int ascent, int lineHeight);

private:
    CMorseSession* session = nullptr;
};
