// Resource and control identifiers, shared by the .rc templates and the code.
// Several control identifiers mean different things on different pages.
#pragma once

// Dialog templates and the icon.
#define IDD_OPTIONS_PAGE      101
#define IDD_DENIED_PAGE       102
#define IDD_ALLOWED_PAGE      103
#define IDD_CONNECT_PAGE      104
#define IDD_ADDRESS_DIALOG    105
#define IDI_APP_ICON          106
#define IDD_KEY_CONFIG_PAGE   107
#define IDD_MESSAGE_PAGE      108

// The frame every page shares.
#define IDC_TAB               1001
#define IDC_SAVE              1022
#define IDC_EXIT              1023
#define IDC_RESET             1078  // "初期設定に戻す" on the options and key pages

// Options page.
#define IDC_SCREEN_640        1005
#define IDC_SCREEN_800        1006
#define IDC_SCREEN_1024       1007
#define IDC_FULL_SCREEN_ON    1008
#define IDC_FULL_SCREEN_OFF   1009
#define IDC_FPS_60            1010
#define IDC_FPS_30            1011
#define IDC_BARRIER_NEAR      1012
#define IDC_BARRIER_ALWAYS    1013
#define IDC_REDUCE_LOAD_ON    1014
#define IDC_REDUCE_LOAD_OFF   1015
#define IDC_SHAKE_ON          1016
#define IDC_SHAKE_OFF         1017
#define IDC_BGM_VOLUME        1019
#define IDC_SE_VOLUME         1020
#define IDC_VOICE_VOLUME      1021
#define IDC_MOVIE_ON          1024
#define IDC_MOVIE_OFF         1025
#define IDC_DIFFICULTY_EASY   1026
#define IDC_DIFFICULTY_NORMAL 1027
#define IDC_DIFFICULTY_HARD   1028
#define IDC_DIFFICULTY_NIGHTMARE 1029
#define IDC_INACTIVE_ON       1055
#define IDC_INACTIVE_OFF      1056
#define IDC_LOADING_DEFAULT   1057
#define IDC_LOADING_ILLUST    1058
#define IDC_LOADING_ALL       1059

// Address pages (connect-to, denied, allowed).
#define IDC_ADDRESS_LIST      1002
#define IDC_ADDRESS_ADD       1003
#define IDC_ADDRESS_DELETE    1004
#define IDC_CONNECT_ID        1018
#define IDC_ALLOWED_ONLY      1020

// Address dialog: the four octet fields, in field order.
#define IDC_OCTET_1           1030
#define IDC_OCTET_2           1031
#define IDC_OCTET_3           1032
#define IDC_OCTET_4           1033

// Key configuration page: nine rows of label and change button.
#define IDC_KEY_LABEL_1       1033
#define IDC_KEY_LABEL_2       1034
#define IDC_KEY_LABEL_3       1035
#define IDC_KEY_LABEL_4       1036
#define IDC_KEY_LABEL_5       1037
#define IDC_KEY_LABEL_6       1038
#define IDC_KEY_LABEL_7       1039
#define IDC_KEY_LABEL_8       1040
#define IDC_KEY_LABEL_9       1041
#define IDC_KEY_CHANGE_1      1042
#define IDC_KEY_CHANGE_2      1043
#define IDC_KEY_CHANGE_3      1044
#define IDC_KEY_CHANGE_4      1045
#define IDC_KEY_CHANGE_5      1046
#define IDC_KEY_CHANGE_6      1047
#define IDC_KEY_CHANGE_7      1048
#define IDC_KEY_CHANGE_8      1049
#define IDC_KEY_CHANGE_9      1050
#define IDC_PLAYER_1          1051
#define IDC_PLAYER_2          1052
#define IDC_METHOD_KEYBOARD   1053
#define IDC_METHOD_JOYPAD     1054
// The controller a capture reads, and the held buttons that no row's label shows.
#define IDC_JOYPAD_NAME       1085
#define IDC_HELD_KEYS         1086

// Function message page: per row F1..F8 the "全体" radio, the "チーム" radio, the edit.
#define IDC_MSG1_ALL          1060
#define IDC_MSG1_TEAM         1061
#define IDC_MSG1_TEXT         1062
#define IDC_MSG2_ALL          1063
#define IDC_MSG2_TEAM         1064
#define IDC_MSG2_TEXT         1065
#define IDC_MSG3_ALL          1066
#define IDC_MSG3_TEAM         1067
#define IDC_MSG3_TEXT         1068
#define IDC_MSG4_ALL          1069
#define IDC_MSG4_TEAM         1070
#define IDC_MSG4_TEXT         1071
#define IDC_MSG5_ALL          1072
#define IDC_MSG5_TEAM         1073
#define IDC_MSG5_TEXT         1074
#define IDC_MSG6_ALL          1075
#define IDC_MSG6_TEAM         1076
#define IDC_MSG6_TEXT         1077
#define IDC_MSG7_ALL          1079
#define IDC_MSG7_TEAM         1080
#define IDC_MSG7_TEXT         1081
#define IDC_MSG8_ALL          1082
#define IDC_MSG8_TEAM         1083
#define IDC_MSG8_TEXT         1084

// Captions that nothing but the face reads, each with an identifier of its own so that
// its English is found by its control.
#define IDC_SCREEN_SIZE_CAPTION  1100
#define IDC_FULL_SCREEN_CAPTION  1101
#define IDC_FPS_CAPTION          1102
#define IDC_BARRIER_CAPTION      1103
#define IDC_REDUCE_LOAD_CAPTION  1104
#define IDC_SHAKE_CAPTION        1105
#define IDC_VOLUME_CAPTION       1106
#define IDC_DIFFICULTY_CAPTION   1107
#define IDC_MOVIE_CAPTION        1108
#define IDC_INACTIVE_CAPTION     1109
#define IDC_LOADING_CAPTION      1110
#define IDC_ADDRESS_LIST_CAPTION 1111
#define IDC_PLAYER_CAPTION       1112
#define IDC_METHOD_CAPTION       1113
#define IDC_KEYS_CAPTION         1114
// The nine action rows' captions, top to bottom: IDC_KEY_CAPTION_1 + row.
#define IDC_KEY_CAPTION_1        1115
#define IDC_KEY_CAPTION_2        1116
#define IDC_KEY_CAPTION_3        1117
#define IDC_KEY_CAPTION_4        1118
#define IDC_KEY_CAPTION_5        1119
#define IDC_KEY_CAPTION_6        1120
#define IDC_KEY_CAPTION_7        1121
#define IDC_KEY_CAPTION_8        1122
#define IDC_KEY_CAPTION_9        1123
// Each message row's "送信先" caption: IDC_MSG1_SEND_TO + row.
#define IDC_MSG1_SEND_TO         1124
#define IDC_MSG2_SEND_TO         1125
#define IDC_MSG3_SEND_TO         1126
#define IDC_MSG4_SEND_TO         1127
#define IDC_MSG5_SEND_TO         1128
#define IDC_MSG6_SEND_TO         1129
#define IDC_MSG7_SEND_TO         1130
#define IDC_MSG8_SEND_TO         1131
