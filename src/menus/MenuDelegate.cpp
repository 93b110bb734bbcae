// The shared delegate of the screens' controls.
#include "MenuDelegate.h"

#include "Alert.h"
#include "GameScreens.h"
#include "HiScoresMenu.h"
#include "Lock.h"
#include "SegmentedControl.h"
#include "SettingsMenu.h"
#include "TextField.h"

GameDelegate* MenuDelegate::myDelegate = nullptr;
bool MenuDelegate::myDelegateInited = false;

void MenuDelegate::initMyDelegateIfNeccessary(HiScoresMenu* hiScores, SettingsMenu* settings, GameScreens* screens) {
  if (!myDelegateInited) {
    // Never released: the controls hold plain pointers to it for the whole run.
    myDelegate = new GameDelegate();
    myDelegateInited = true;
  }
  if (hiScores != nullptr) myDelegate->hiScoresMenu = hiScores;
  if (settings != nullptr) myDelegate->settingsMenu = settings;
  if (screens != nullptr) myDelegate->bg = screens;
}

bool GameDelegate::textFieldShouldReturn(Ui::TextField& field) {
  field.resignFirstResponder();
  return true;
}

void GameDelegate::alertClickedButtonAtIndex(Ui::Alert& alert, int buttonIndex) {
  if (bg == nullptr) return;
  if (&alert == bg->settingsAlert.get()) {
    if (settingsAnswer) settingsAnswer(buttonIndex == 1);
  } else if (&alert == bg->uploadAlert.get()) {
    if (buttonIndex == 1 && hiScoresMenu != nullptr) hiScoresMenu->startUpload();
  }
}

void GameDelegate::clockEnabledChange(Ui::Switch&) {
  if (settingsMenu != nullptr) MyTl::Lock lock(settingsMenu->menuLock, true, true);
}

void GameDelegate::inputMethodChange(Ui::Switch&) {
  if (settingsMenu != nullptr) MyTl::Lock lock(settingsMenu->menuLock, true, true);
}

void GameDelegate::localGlobalChange(Ui::SegmentedControl& control) {
  if (hiScoresMenu != nullptr) hiScoresMenu->localGlobalChange(control.selectedSegmentIndex());
}
