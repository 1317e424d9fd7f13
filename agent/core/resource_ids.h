// Identifiers of the agent's resources: the tray menu, its commands, the icons
// and the string table. Plain macros, because the resource compiler reads this
// file too.
#pragma once

// Tray menu and icons.
#define IDR_TRAY_MENU 101
#define IDI_AGENT_ON 102
#define IDI_AGENT_OFF 103

// Tray menu commands; the tooltip string of each item has the same id.
#define ID_CMD_ENABLE 40001
#define ID_CMD_START_WITH_WINDOWS 40002
#define ID_CMD_SETTINGS 40003
#define ID_CMD_HOME_PAGE 40004
#define ID_CMD_LEAFNOTE 40005
#define ID_CMD_KEYMARK 40006
#define ID_CMD_SNIPDROP 40007
#define ID_CMD_EXIT 57665

// String table.
#define IDS_CONFIG_ALREADY_RUNNING 1
#define IDS_AGENT_CAPTION 2
#define IDS_CANNOT_START_CONFIG_THREAD 3
#define IDS_CONFIG_NOT_FOUND 4
#define IDS_CONFIG_NO_PROCESS 5
#define IDS_ALREADY_RUNNING 6
#define IDS_STATE_ON 7
#define IDS_STATE_OFF 8
#define IDS_STATE_PAUSED 9
#define IDS_HOTKEY_UNREADABLE 10
#define IDS_HOTKEY_TAKEN 11
#define IDS_TIP_ENABLE 40001
#define IDS_TIP_START_WITH_WINDOWS 40002
#define IDS_TIP_SETTINGS 40003
#define IDS_TIP_HOME_PAGE 40004
#define IDS_TIP_LEAFNOTE 40005
#define IDS_TIP_KEYMARK 40006
#define IDS_TIP_SNIPDROP 40007
#define IDS_EXIT_BALLOON 57665
#define IDS_SCROLL_HORIZONTALLY 57666
#define IDS_ON_LEFT_BUTTON 57669
#define IDS_ON_RIGHT_BUTTON 57670
#define IDS_HSCROLL_DISABLED 57671
#define IDS_LANGUAGE 57672
#define IDS_LANGUAGE_FILE 57673
#define IDS_LANGUAGE_FILE_HINT 57674
#define IDS_KEY_OPTION_PREFIX 57675
