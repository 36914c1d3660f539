// The menu commands that act on the level as a whole: new, load, save, its texts, its
// number of sentries and seed, the outside flag, the plan tools, the display switches,
// undo and redo, and playing the level in the game. Each ends by giving the keyboard back
// to the map.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "world/world.h"

namespace zandrel::editor {

struct Editor;

// "&New": asks for the width, height and depth; an empty answer to any of them, Cancel
// included, leaves the level as it was.
void NewLevel(Editor& editor);
// "&Load": the open dialog, then LoadLevel.
void OpenLevel(Editor& editor);
// Reads a level file into the editor (no dialog, no question). A file that cannot be read
// shows the reader's message and leaves the level in the editor untouched; false then.
bool LoadLevel(Editor& editor, const std::string& file);
// A file of the recent-files list, after the question about unsaved changes; a file that
// cannot be read any more leaves the list.
void OpenRecent(Editor& editor, const std::string& file);
// After a run that ended without a clean exit: offers to restore its latest backup, which
// then stands for the file it was made from, with unsaved changes.
void OfferRestore(Editor& editor);
// "&Save": to the file last loaded or saved, else as "Save as". Before writing, the check
// rules run and their findings are shown as a warning; the level is saved all the same.
// A failed write says so and leaves the unsaved mark. True when saved.
bool SaveLevel(Editor& editor);
// "&Save as ...": the save dialog, then the same.
bool SaveLevelAs(Editor& editor);
// With unsaved changes, asks whether to save them before they would be lost; true when
// the user went on (saved or chose not to), false when the level must stay.
bool ConfirmDiscard(Editor& editor);

// "&Test level": the level saved to a file of its own and started in the game's window.
void TestLevel(Editor& editor);
// The file TestLevel writes.
std::filesystem::path TestLevelFile();

void LevelDescription(Editor& editor);
void LevelAuthor(Editor& editor);
void NumberOfSentries(Editor& editor);
void RandomSeed(Editor& editor);
void ToggleOutside(Editor& editor);
// "&Texturing" "&Enabled" / "&Disabled": the bank loaded again with quality High / Low.
void SetTexturing(Editor& editor, bool enabled);
void BoostDisplay(Editor& editor);

enum class Axis { X, Y, Z };
// The plane through the shown cursor's cell across that axis filled with the current
// object, or emptied; lights and music cells stay.
void GeneratePlan(Editor& editor, Axis axis);
void ClearPlan(Editor& editor, Axis axis);

void Undo(Editor& editor);
void Redo(Editor& editor);

// A level of the map's size made empty: every cell code 0 and light 128, the bottom layer
// code 1; no music cells and no cell animations; the start in the middle of the floor at
// y = 1, the exit mirrored outside the map (until the user places it).
void FillEmptyLevel(Editor& editor);

// The sentries from their placements again, the random generator seeded with the level's
// seed; the first cry waits 2000 ms from now.
void ResetSentries(Editor& editor);

// The names ObjectCombo lists: every defined type that has a name, in code order.
std::vector<std::string> ObjectNames(const world::World& world);
// The names MusicBox lists: every music entry with a name, in entry order.
std::vector<std::string> MusicNames(const world::World& world);
// Refills the object list, the music box and the sentry list.
void FillLists(Editor& editor);

// Where the file dialogs start: the data tree's "LEVEL" folder, or, when that one cannot
// be written, the "LEVEL" folder of the user's data folder.
std::filesystem::path LevelFolder(const std::filesystem::path& dataFolder);

}  // namespace zandrel::editor
