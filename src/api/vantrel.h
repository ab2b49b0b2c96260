#pragma once

// Vantrel's core as a front end uses it, in one header. The windows, the
// command line, the bench and the fuzz targets include this and no other
// header of the core, but for those whose names are fixed: HexFunctions,
// clsCommonDialog and its record, the window's layout.
//
// - An image, by its path or as bytes held in memory (MemoryBytes, or any
//   other ByteSource): ReadImageCry finds its release, its cry byte and that
//   byte's value, its stock cry and its cry table, and ReleaseText,
//   FindingText and CryTableFindingText say how; WriteImageCry writes a cry;
//   ReadImageCrySound decodes one; WavBytes makes it a WAV file, Resampled
//   puts it at another rate and UnsignedSample gives a sample as a sound
//   output takes it.
// - The cry byte's values and their list positions, the species names in
//   national order and the game's own numbers for them
//   (InternalNumberOf, NationalNumberOf), and the title screen code's forms.
// - The window's commands over the front end's WindowState and CryPlayer,
//   and the ImageStore they read and write the image through: FileImages by
//   path, or a front end's own, which may write with PlanCryWrite's plan.
// - The runtime's services: errors and the failure box, message boxes, the
//   program's title and version, UTF-8 paths (and wide text on Windows),
//   and the split of a command line into options and operands.

#include "cry/commands.h"
#include "cry/cry_player.h"
#include "cry/cry_slot.h"
#include "cry/image_cry.h"
#include "cry/image_store.h"
#include "cry/name_text.h"
#include "cry/species_list.h"
#include "cry/window_state.h"
#include "runtime/app.h"
#include "runtime/byte_source.h"
#include "runtime/command_line.h"
#include "runtime/descriptors.h"
#include "runtime/error.h"
#include "runtime/failure_box.h"
#include "runtime/hex.h"
#include "runtime/message_box.h"
#include "runtime/path_text.h"
#include "runtime/program_arguments.h"
#include "runtime/wide_text.h"
#include "sound/resample.h"
#include "sound/unsigned_sample.h"
#include "sound/wav.h"
