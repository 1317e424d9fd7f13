// Identifiers of the settings program's resources: the dialog, the icon, the
// string table, the page with its style sheet and images. Plain macros,
// because the resource compiler reads this file too.
#pragma once

// The settings dialog template and the application icon.
#define IDD_SETTINGS 102
#define IDI_APP 128

// String table.
#define IDS_CONFIG_NAME 102
#define IDS_ALREADY_WORK 103
#define IDS_SETTINGS_HEADING 104
#define IDS_CHANGED 105
#define IDS_CANNOT_OPEN_FILE 106
#define IDS_FILE_NOT_EXIST 107
#define IDS_SAVE_QUESTION 108
#define IDS_PROGRAM_FILTER 109

// The page and its style sheet, of the standard HTML resource type (23).
#define IDR_PAGE 129
#define IDR_STYLES 139

// Images, of the resource type named "RT_GIF".
#define IDR_IMG_KEYMARK 141
#define IDR_IMG_LEAFNOTE 142
#define IDR_IMG_BULLET 145
#define IDR_IMG_HOWTO 146
#define IDR_IMG_RSS 147
#define IDR_IMG_SNIPDROP 148
