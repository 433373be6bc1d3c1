#pragma once

#include <string>
#include <vector>

class CMorseSession;

// The output window's rules: the output chosen (speaker, sound card or serial port) and the port
// among the machine's, which is chosen only with the serial port; it starts from the output in
// use and its port. OK hands the choice to the session, which goes back to the output before
// when the one chosen cannot be opened. One operation per user action; the window renders View().
class CVystupModel {
public:
    struct View {
        int kind = 0;
        int portIndex = 0;
        bool portEnabled = false;
    };

    // `session` outlives the model; `ports` are the machine's serial ports, in the list's order.
    CVystupModel(CMorseSession& session, std::vector<std::string> ports);

    void ChooseKind(int kind);
    void ChoosePort(int index);
    // OK: true when the output chosen is in use.
    bool Accept();

    View GetView() const;

private:
    CMorseSession& session;
    std::vector<std::string> ports;
    int kind = 0;
    int portIndex = 0;
};
