#include "editor/widgets/help_pages.h"

namespace zandrel::editor::widgets {

const std::array<HelpPage, 9> kHelpPages = {{
    {"Introduction", "INTRODUCTION",
     R"(<p>The level editor builds the levels of Zandrel: boxes of cubic cells in which you place
walls, ingots, ladders, levers and doors, keys, springs, lights and deadly cells, the flying
sentries, the music, and the points where the hero starts and leaves. It saves them as ".lev"
files that the game plays.</p>
<p>The level is drawn in 3D on the left of the main window; the command panel on the right
moves the cursor through it and changes the cell under it. The menus create, load and save
levels and set what belongs to the whole level.</p>
<p>Please click on a menu item to get information.</p>)"},

    {"General concepts", "GENERAL CONCEPTS",
     R"(<p>A level is a 3D map of uniform cells, one building object in each cell (or none). Its
size in cells along X (width), Y (height) and Z (depth) is set first, with File-&gt;New, and stays
fixed: it cannot change without starting the level again. A new level's bottom layer is a
floor of the first building object.</p>
<p>Every level must also define:</p>
<ul>
<li>its start point, the cell where the hero appears;</li>
<li>its exit point: reaching it teleports the player to the next level;</li>
<li>its number of flying sentries, each with the cell it starts from.</li>
</ul>
<p style="color:#ffff00"><b>Before building a level, you MUST define its dimensions (File-&gt;New)</b></p>)"},

    {"Building", "BUILDING",
     R"(<p>You build in 3D with the command panel. The white cursor marks the cell you work on;
the camera follows it. Each icon of the panel has a key, named in its hint:</p>
<table cellspacing="0" cellpadding="1">
<tr><td><b>Up / Down</b>&nbsp;&nbsp;</td><td>move forward / backwards</td></tr>
<tr><td><b>Left / Right</b>&nbsp;&nbsp;</td><td>turn left / right</td></tr>
<tr><td><b>CTRL + Left / Right</b>&nbsp;&nbsp;</td><td>move left / right</td></tr>
<tr><td><b>"H" / "B"</b>&nbsp;&nbsp;</td><td>move up / down one cell</td></tr>
<tr><td><b>Page Up / Down</b>&nbsp;&nbsp;</td><td>top view / down view (again: back)</td></tr>
<tr><td><b>pad "+" / "-"</b>&nbsp;&nbsp;</td><td>zoom in / out</td></tr>
<tr><td><b>Space</b>&nbsp;&nbsp;</td><td>put the current object in the cell</td></tr>
<tr><td><b>DEL, Backspace</b>&nbsp;&nbsp;</td><td>delete the cell's object and music</td></tr>
<tr><td><b>"E" / "A"</b>&nbsp;&nbsp;</td><td>brighten / darken the cell</td></tr>
<tr><td><b>"S", "D", "X"</b>&nbsp;&nbsp;</td><td>put a music, the start, the exit</td></tr>
</table>
<p>The object to put is chosen in the building objects list in the lower right corner; its
preview above the list turns while you drag it with the left mouse button, and a right click
sets it straight. The panel shows the cursor's cell and its luminosity.</p>
<p>Tools-&gt;Generate a plan fills the plane through the cursor (along X, Y or Z) with the
current object; Tools-&gt;Clear a plan empties it.</p>)"},

    {"Start and Exit points", "START AND EXIT POINTS",
     R"(<p>Both points are needed for a valid level, and each may be put on any cell.</p>
<table cellspacing="0" cellpadding="4">
<tr><td valign="top">{I_Start}</td><td>The start point: move the cursor to the cell and click this
icon (or press "D"). The hero starts there, facing the way the cursor faces. The view shows it
with a white marker.</td></tr>
<tr><td valign="top">{I_Exit}</td><td>The exit point: click this icon (or press "X") on the cell
where the level ends. The view shows it with a yellow marker. A new level has no exit until you
put one.</td></tr>
</table>)"},

    {"Adding some music", "ADDING SOME MUSIC",
     R"(<p>A level holds up to 256 musical cells. When the player enters one, the music changes to
the one that cell names.</p>
<table cellspacing="0" cellpadding="4">
<tr><td valign="top">{I_SFX}</td><td>Put a musical cell on the cursor's cell with the SFX icon (or
press "S"). The view marks musical cells in cyan.</td></tr>
</table>
<p>While the cursor stands on a musical cell, the Info panel shows the list of musics: choose
the one the cell plays. "Play" and "Stop" let you listen to it. Deleting the cell (DEL)
removes its music too.</p>)"},

    {"Playing levels", "INTEGRATING LEVELS IN THE GAME",
     R"(<p>Levels must be saved in the game's "LEVEL" folder, inside its data folder: the Load and
Save dialogs of the editor open there.</p>
<p>The game takes every ".lev" file of that folder, in alphabetical order of their names, and
plays them one after the other. Suggested names are "[xxxx]-[description].lev", the number
giving the level's place: the levels that come with the game are "01-first-steps.lev" to
"12-the-summit.lev", so "05b-my-tower.lev" would come after the fifth.</p>
<p>A level given the name "000.lev" is played first.</p>)"},

    {"Defining sentries", "DEFINING SENTRIES OF THE LEVEL",
     R"(<p>The number of sentries is set with Options-&gt;Number of Sentries, up to 255.</p>
<p>Each sentry's position is then set in the Info panel: choose the sentry in the list
("NME #1", "NME #2", ...), move the cursor to the cell it starts from and press "Set Pos.".</p>)"},

    {"Tips", "TIPS",
     R"(<ul>
<li>The level's description and author are set in the Options menu; the game shows them when
the level starts.</li>
<li>A level cannot be resized without erasing it: File-&gt;New starts a new map.</li>
<li>Every action has a key: rest the mouse on an icon of the panel to see it.</li>
<li>If the display is slow, use Options-&gt;Editor-&gt;Boost display (Escape or a click
leaves it); otherwise clear Options-&gt;Editor-&gt;Stretching, which shows the view unscaled.
Options-&gt;Editor-&gt;Texturing-&gt;Disabled draws the cubes in plain colours, which is
quicker still.</li>
<li>Save often, under a new name now and then.</li>
</ul>)"},

    {"Contact", "CONTACT & SUPPORT",
     R"(<p>Zandrel is an open project. For questions, bug reports and ideas, see README.md in the
Zandrel source or documentation folder: it tells how to reach the project's issue tracker.</p>
<p>When you report a problem with a level, please attach its ".lev" file and say what you did
and what you saw.</p>)"},
}};

}  // namespace zandrel::editor::widgets
