#include "effects_workbench/HelpText.h"

#include <string>
#include <vector>

namespace sonafex {

using namespace wb::gui;

namespace {

const std::vector<std::string>& HelpLines() {
    static const std::vector<std::string> lines = {
        "**************************Sonafex Fizzlor - DEMO******************",
        "",
        "Sonafex computes 16 bit mono WAVE files (11025, 22050 or 44100 Hz).",
        "Stereo files are converted to mono with the Channel Converter;",
        "after that every effect can be applied to them.",
        "Every result can be played with the Player, undone once with",
        "Edit/Undo and done again with Edit/Redo.",
        "________________________*************************_________________",
        "DISTORT AT LEVEL fader:",
        "Sets the level, in percent of full scale, from which a distortion",
        "effect starts to work. Samples below that level pass unchanged;",
        "louder ones are limited and shaped by the effect.",
        "________________________*************************_________________",
        "WARM  DISTORTION1:",
        "Limits the sound at the level and bends the end of every limited",
        "part back softly, like an analog circuit driven too hard.",
        "Warmth depth sets how soft the bend is: more depth, warmer sound.",
        "________________________*************************_________________",
        "WARM DISTORTION2:",
        "Limits the sound at the level, halves the way back to it and carves",
        "a smooth bump around the end of every limited part.",
        "Warmth shape sets the height of the bump, Width its breadth",
        "(min to max).",
        "________________________*************************_________________",
        "FREAK DISTORTION:",
        "Like Warm Distortion2, but the bump is modulated by a sine wave,",
        "which gives a harsh, buzzing colour.",
        "Freak mod depth sets how strong the modulation is, Width how broad.",
        "________________________*************************_________________",
        "CHANNEL CONVERTER:",
        "Converts a stereo file to mono by averaging its two channels.",
        "Only stereo files can be converted; the result can be saved or",
        "worked on with every effect.",
        "________________________*************************_________________",
        "LO-FI RESAMPLER (3 types):",
        "Makes the sound rougher, as if it had been recorded at a lower",
        "sample rate, while the file keeps its own rate.",
        "LoFi1 keeps every 8th sample, LoFi2 every 4th, LoFi3 every 2nd;",
        "the samples in between are rebuilt by soft steps.",
        "Shape sets how the steps run (min to max).",
        "________________________*************************_________________",
        "AMPLIFIER:",
        "Change gain sets the gain in percent (0 to 1000).",
        "Gain1 (rel): 100% is the level of the current sound file;",
        "the file is multiplied by the gain.",
        "Gain2 (abs): 100% is the maximum possible level of a 16 bit",
        "Wave Format File; the loudest sample is brought to that share.",
        "Values beyond the 16 bit range are not clipped: they wrap around",
        "and sound as loud clicks, so keep the gain within reason.",
        "________________________*************************_________________",
        "NORMALIZE: (by peak)",
        "Raises (or lowers) the whole file so that its loudest sample",
        "reaches the maximum level of the 16 bit format.",
        "Normalize stays off until another effect has been applied.",
        "________________________*************************_________________",
        "FIND PEAK:",
        "Shows the loudest sample of the file, in percent of the maximum",
        "possible level.",
        "________________________*************************_________________",
        "Find RMS:",
        "Shows the RMS (root mean square) value of the file, a measure of",
        "its average loudness, in percent of the maximum possible level.",
        "________________________*************************_________________",
        "FILES:",
        "File/Open reads a WAVE file, File/Save writes the result over it,",
        "File/Save As writes it to a new file, Edit/Reload File reads the",
        "opened file again and File/New (Clear) clears the window.",
        "Saving, reloading or opening ends the undo history.",
        "________________________*************************_________________",
        "",
        "WARNING!",
        "Make sure that you have enough space on drive C!!!",
        "Every result is written to one of two temporary WAVE files, kept in",
        "a private folder of the system's temporary folder while the program",
        "runs. They need free space there of twice the size of the wave",
        "file being computed. They are removed when the program closes.",
        "",
    };
    return lines;
}

} // namespace

THelp::THelp() : Form(nullptr, FormKind::Dialog), Memo1(*this, "Memo1") {
    SetName("Help");
    SetCaption("Help");
    SetClientSize(456, 410);
    SetFont("MS Sans Serif", 11);
    Memo1->SetReadOnly(true);
    Memo1->SetColor(clWhite);
    Memo1->SetLines(HelpLines());
    Memo1->SetBounds(0, 0, 456, 410);
}

} // namespace sonafex
