#include "frontend/main_window_events.h"

#include "frontend/option_screen.h"
#include "frontend/option_transition.h"
#include "frontend/save_files.h"
#include "gameplay/game_state.h"
#include "gameplay/sound_effect.h"
#include "gameplay/status_panel.h"
#include "gameplay/well_drawing.h"
#include "music/clsMIDI.h"
#include "platform/backend.h"
#include "platform/system.h"

namespace {

// A settings switch read from user.ini may hold any value; all but -1 count as off, and
// switching turns any of them on.
Bool16 Switched(Bool16 setting) { return setting == True ? False : True; }

void PressKey(std::uint8_t& state) {
  if (state == 0) state = 1;
}

void ToggleOptionScreen() {
  if (Busy == True) return;
  OptionShown = static_cast<Bool16>(~OptionShown);
  if (OptionShown == True) {
    DrawWell();
    OptionTransition(True);
  } else {
    OptionTransition(False);
    DrawPanelLabels();
    DrawStatusPanel();
  }
}

void MoveOptionCursor(int step) {
  OptCursor = static_cast<std::uint8_t>((OptCursor + 4 + step) % 4);
  PlayEffect("\\Select.wav");
  OptPulseAngle = -45;
}

}  // namespace

void Form_KeyDown(std::int16_t KeyCode, std::int16_t Shift) {
  (void)Shift;
  const bool optionScreen = OptionShown == True;
  switch (KeyCode) {
    case vbKeyEscape:
      ToggleOptionScreen();
      break;
    case vbKeyZ:
      PressKey(PressZ);
      break;
    case vbKeyX:
      PressKey(PressX);
      break;
    case vbKeyLeft:
      if (optionScreen)
        ChangeOption(False);
      else
        PressKey(PressLeft);
      break;
    case vbKeyRight:
      if (optionScreen)
        ChangeOption(True);
      else
        PressKey(PressRight);
      break;
    case vbKeyUp:
      if (optionScreen) MoveOptionCursor(-1);
      break;
    case vbKeyDown:
      if (optionScreen)
        MoveOptionCursor(+1);
      else
        PressKey(PressDown);
      break;
    default:
      break;
  }
}

void Form_KeyPress(std::int16_t KeyAscii) {
  if (KeyAscii != vbKeyReturn || OptionShown != True || OptCursor != 3) return;
  // Unloading the window asks first; a Yes there never comes back.
  std::int16_t cancel = False;
  Form_QueryUnload(cancel, 0);
  if (cancel == False) QuitGame();
}

void Form_KeyUp(std::int16_t KeyCode, std::int16_t Shift) {
  (void)Shift;
  switch (KeyCode) {
    case vbKeyZ:
      PressZ = 0;
      break;
    case vbKeyX:
      PressX = 0;
      break;
    case vbKeyLeft:
      PressLeft = 0;
      break;
    case vbKeyRight:
      PressRight = 0;
      break;
    case vbKeyDown:
      PressDown = 0;
      break;
    default:
      break;
  }
}

void Form_QueryUnload(std::int16_t& Cancel, std::int16_t UnloadMode) {
  (void)UnloadMode;
  CurrentBackend().Hide(WindowId::Main);
  if (MsgBox("終了しますか？", MsgBoxButtons::YesNo) == MsgBoxAnswer::Yes) QuitGame();
  CurrentBackend().Show(WindowId::Main);
  Cancel = True;
}

void Main_Paint() {
  if (OptionShown != True) {
    DrawWell();
    DrawStatusPanel();
  } else {
    DrawOptionFrame();
  }
}

void ChangeOption(const std::int16_t& RightKey) {
  switch (OptCursor) {
    case 0:
      if (RightKey == True ? UserSettings.KeySense < 5 : UserSettings.KeySense > 0) {
        UserSettings.KeySense += RightKey == True ? 1 : -1;
        PlayEffect("\\Change.wav");
      }
      break;
    case 1:
      UserSettings.BgmOn = Switched(UserSettings.BgmOn);
      PlayEffect("\\Change.wav");
      if (UserSettings.BgmOn == True) {
        BgmPlayer().Position("START");
        BgmPlayer().Play();
      } else {
        BgmPlayer().StopM();
      }
      break;
    case 2:
      UserSettings.SoundOn = Switched(UserSettings.SoundOn);
      PlayEffect("\\Change.wav");
      break;
    default:
      break;
  }
}

void InstallMainWindowHandlers() {
  MainWindowHandlers handlers;
  handlers.KeyDown = [](int keyCode, int shift) {
    Form_KeyDown(static_cast<std::int16_t>(keyCode), static_cast<std::int16_t>(shift));
  };
  handlers.KeyPress = [](int keyAscii) { Form_KeyPress(static_cast<std::int16_t>(keyAscii)); };
  handlers.KeyUp = [](int keyCode, int shift) {
    Form_KeyUp(static_cast<std::int16_t>(keyCode), static_cast<std::int16_t>(shift));
  };
  handlers.Paint = [] { Main_Paint(); };
  handlers.QueryUnload = [](int& cancel) {
    std::int16_t answer = False;
    Form_QueryUnload(answer, 0);
    cancel = answer;
  };
  handlers.EndSession = [] { EndSession(); };
  CurrentBackend().SetMainHandlers(std::move(handlers));
}
