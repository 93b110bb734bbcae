// The seven effects: a pluck for a move, ticks for menus, a buzz for a refused move, a chime
// arpeggio for a removed line, a rising fanfare for good news and a falling phrase for the end.
// Peaks differ on purpose: short high sounds are set lower, buzzes lower still, so that none
// of them stands out as loud next to the others.
#include "SoundRecipes.h"

#include <cmath>

#include "ToneSynth.h"

namespace {

using Note = ToneSynth::Note;
using Partial = ToneSynth::Partial;

// Equal-tempered pitch, MIDI numbering (69 = A4 = 440 Hz).
double pitch(int midiNote) { return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0); }

std::vector<float> move() {
  // A soft plucked note: upper partials die away first.
  ToneSynth synth;
  Note note;
  note.frequency = pitch(76);  // E5
  note.durationSeconds = 0.16;
  note.attackSeconds = 0.002;
  note.releaseSeconds = 0.03;
  note.partials = {{1.0, 1.0, 0.07}, {2.0, 0.35, 0.04}, {3.0, 0.15, 0.025}, {4.2, 0.05, 0.012}};
  synth.addNote(note);
  synth.normalise(0.55);
  return synth.samples();
}

std::vector<float> mouseMove() {
  // A tiny high tick.
  ToneSynth synth;
  Note note;
  note.frequency = 2200.0;
  note.durationSeconds = 0.045;
  note.attackSeconds = 0.0015;
  note.releaseSeconds = 0.015;
  note.partials = {{1.0, 1.0, 0.012}, {1.5, 0.3, 0.008}};
  synth.addNote(note);
  synth.normalise(0.35);
  return synth.samples();
}

std::vector<float> menuSelect() {
  // A soft two-step tick, lower and rounder than mouseMove.
  ToneSynth synth;
  Note note;
  note.frequency = pitch(84);  // C6
  note.durationSeconds = 0.06;
  note.attackSeconds = 0.002;
  note.releaseSeconds = 0.02;
  note.partials = {{1.0, 1.0, 0.025}, {2.0, 0.2, 0.012}};
  synth.addNote(note);
  note.startSeconds = 0.035;
  note.frequency = pitch(91);  // G6
  note.amplitude = 0.7;
  synth.addNote(note);
  synth.normalise(0.6);
  return synth.samples();
}

std::vector<float> badMove() {
  // Two short low buzzes ("uh-uh"): a band-limited sawtooth, doubled slightly off pitch so it
  // beats.
  ToneSynth synth;
  std::vector<Partial> saw;
  for (int harmonic = 1; harmonic <= 12; ++harmonic) saw.push_back({double(harmonic), 1.0 / harmonic, 0.0});
  for (int buzz = 0; buzz < 2; ++buzz) {
    Note note;
    note.startSeconds = 0.17 * buzz;
    note.frequency = buzz == 0 ? 110.0 : 98.0;
    note.durationSeconds = 0.13;
    note.attackSeconds = 0.008;
    note.releaseSeconds = 0.03;
    note.partials = saw;
    synth.addNote(note);
    note.frequency *= 1.012;
    note.amplitude = 0.6;
    synth.addNote(note);
  }
  synth.normalise(0.42);
  return synth.samples();
}

std::vector<float> trel() {
  // A bright bell arpeggio up a major chord, ringing together at the end.
  ToneSynth synth;
  const int notes[] = {84, 88, 91, 96};  // C6 E6 G6 C7
  for (int i = 0; i < 4; ++i) {
    Note note;
    note.startSeconds = 0.06 * i;
    note.frequency = pitch(notes[i]);
    note.durationSeconds = 0.5;
    note.attackSeconds = 0.003;
    note.releaseSeconds = 0.08;
    note.amplitude = i == 3 ? 0.9 : 0.75;
    note.partials = {{1.0, 1.0, 0.3}, {2.0, 0.35, 0.16}, {3.01, 0.16, 0.09}, {4.17, 0.07, 0.05}};
    synth.addNote(note);
  }
  synth.normalise(0.6);
  return synth.samples();
}

std::vector<float> yay() {
  // A rising brass-like fanfare ending on a held, gently vibrating top note.
  ToneSynth synth;
  const std::vector<Partial> brass = {{1.0, 1.0, 0.0}, {2.0, 0.6, 0.0}, {3.0, 0.42, 0.0},
                                      {4.0, 0.28, 0.0}, {5.0, 0.18, 0.0}, {6.0, 0.1, 0.0}};
  const int notes[] = {67, 72, 76, 79};  // G4 C5 E5 G5
  for (int i = 0; i < 4; ++i) {
    Note note;
    note.startSeconds = 0.1 * i;
    note.frequency = pitch(notes[i]);
    note.durationSeconds = 0.12;
    note.attackSeconds = 0.012;
    note.releaseSeconds = 0.04;
    note.amplitude = 0.7;
    note.partials = brass;
    synth.addNote(note);
  }
  Note last;
  last.startSeconds = 0.4;
  last.frequency = pitch(84);  // C6
  last.durationSeconds = 0.55;
  last.attackSeconds = 0.02;
  last.releaseSeconds = 0.2;
  last.vibratoHz = 5.5;
  last.vibratoDepth = 0.004;
  last.partials = {{1.0, 1.0, 1.2}, {2.0, 0.5, 0.8}, {3.0, 0.3, 0.5}, {4.0, 0.15, 0.3}};
  synth.addNote(last);
  synth.normalise(0.55);
  return synth.samples();
}

std::vector<float> gameOver() {
  // A slow falling phrase in a soft, round tone; the last note sags a little as it fades.
  ToneSynth synth;
  const std::vector<Partial> soft = {{1.0, 1.0, 0.0}, {2.0, 0.3, 0.0}, {3.0, 0.12, 0.0}};
  const int notes[] = {67, 64, 60};  // G4 E4 C4
  for (int i = 0; i < 3; ++i) {
    Note note;
    note.startSeconds = 0.24 * i;
    note.frequency = pitch(notes[i]);
    note.durationSeconds = 0.26;
    note.attackSeconds = 0.015;
    note.releaseSeconds = 0.08;
    note.partials = soft;
    synth.addNote(note);
  }
  Note last;
  last.startSeconds = 0.72;
  last.frequency = pitch(55);  // G3
  last.endFrequency = last.frequency * 0.97;
  last.durationSeconds = 0.7;
  last.attackSeconds = 0.02;
  last.releaseSeconds = 0.35;
  last.partials = {{1.0, 1.0, 0.9}, {2.0, 0.3, 0.5}, {3.0, 0.12, 0.3}};
  synth.addNote(last);
  synth.normalise(0.5);
  return synth.samples();
}

}  // namespace

std::vector<SoundRecipes::Sound> SoundRecipes::renderAll() {
  return {
      {"trel", trel()},           {"move", move()},         {"mouseMove", mouseMove()},
      {"yay", yay()},             {"badMove", badMove()},   {"MenuSelect", menuSelect()},
      {"GameOver", gameOver()},
  };
}
