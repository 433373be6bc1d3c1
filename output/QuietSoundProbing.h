#pragma once

// PortAudio probes every ALSA device and a JACK server when it starts; on a desktop with a sound
// server most of them are absent, and both libraries print each failed probe to the terminal.
// This silences their diagnostic printing (the failures that matter come back as error codes)
// and keeps JACK from trying to start a server of its own. Safe to call more than once; call
// before the first Pa_Initialize.
void QuietSoundProbing();
