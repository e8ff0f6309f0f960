/* String IDs of the language library. Strings the driver library asks for by logical number
   name that number beside them; runs of consecutive strings are noted where code appends the
   following IDs until one is missing. */
#ifndef QV_IDS_STRINGS_H
#define QV_IDS_STRINGS_H

/* ---- Summary window ------------------------------------------------------------------------- */

#define IDS_SUMMARY_MEDIA 5234
#define IDS_SUMMARY_QUALITY 5235
#define IDS_SUMMARY_COPIES 5236
#define IDS_SUMMARY_COLLATE 5237
#define IDS_SUMMARY_DUPLEX 5238
#define IDS_DUPLEX_LONG_EDGE 5239
#define IDS_DUPLEX_SHORT_EDGE 5240

/* ---- Texts the driver library shows (logical numbers in brackets) --------------------------- */

#define IDS_PROFILE_LIBRARY_MISSING 6006 /* 23 */
#define IDS_NAMED_CONFIG_FAILED 6007     /* 1: file name, configuration name */
#define IDS_CONFIG_RETRY_CAPTION 6010    /* 2 */
/* 3 to 12: the retry text, a run from 6011 that ends at the first missing ID. */
#define IDS_CONFIG_RETRY_TEXT 6011
#define IDS_CONFIG_RETRY_TEXT_2 6012
/* 13 to 20: the notice written into the font summary cache file. */
#define IDS_FONT_CACHE_NOTE_1 6081
#define IDS_FONT_CACHE_NOTE_2 6082
#define IDS_FONT_CACHE_NOTE_3 6083
#define IDS_FONT_CACHE_NOTE_4 6084
#define IDS_FONT_CACHE_NOTE_5 6085
#define IDS_FONT_CACHE_NOTE_6 6086
#define IDS_FONT_CACHE_NOTE_7 6087
#define IDS_FONT_CACHE_NOTE_8 6088
#define IDS_RENDERER_TOO_OLD 6591         /* 21: printer name */
#define IDS_RENDERER_TOO_OLD_CAPTION 6592 /* 22 */
#define IDS_FACTORY_DEFAULTS 6628   /* 3003 */
#define IDS_INSTALLED_DEFAULTS 6629 /* 3004 */
/* 3000 to 3002: the manual-duplex instruction printed on the first side's last page. */
#define IDS_MANUAL_DUPLEX_LINE_1 6780
#define IDS_MANUAL_DUPLEX_LINE_2 6781
#define IDS_MANUAL_DUPLEX_LINE_3 6782

/* ---- Trays, by GetTrayID's table ------------------------------------------------------------ */

#define IDS_TRAY_1 6090
#define IDS_TRAY_2 6091
#define IDS_TRAY_3 6092
#define IDS_TRAY_4 6093
#define IDS_TRAY_MANUAL 6094
#define IDS_TRAY_ENVELOPE 6095
#define IDS_TRAY_AUTO 6096
#define IDS_TRAY_5 6097
#define IDS_TRAY_6 6098
#define IDS_TRAY_7 6099
#define IDS_TRAY_8 6100
#define IDS_TRAY_9 6101
#define IDS_TRAY_10 6102
#define IDS_TRAY_11 6103
#define IDS_TRAY_MULTIPURPOSE 6257

/* ---- Papers (logical numbers 1000 to 1024) -------------------------------------------------- */

#define IDS_PAPER_LETTER 6104     /* 1000 */
#define IDS_PAPER_LEGAL 6105      /* 1001 */
#define IDS_PAPER_B5 6106         /* 1002 */
#define IDS_PAPER_A4 6107         /* 1003 */
#define IDS_PAPER_EXECUTIVE 6108  /* 1004 */
#define IDS_PAPER_A5 6109         /* 1005 */
#define IDS_PAPER_MONARCH 6110    /* 1006 */
#define IDS_PAPER_ENV_9 6111      /* 1007 */
#define IDS_PAPER_ENV_10 6112     /* 1008 */
#define IDS_PAPER_ENV_DL 6113     /* 1009 */
#define IDS_PAPER_ENV_C5 6114     /* 1010 */
#define IDS_PAPER_ENV_B5 6115     /* 1011 */
#define IDS_PAPER_OTHER 6116      /* 1012 */
#define IDS_PAPER_A3 6117         /* 1013 */
#define IDS_PAPER_B4 6118         /* 1015 */
#define IDS_PAPER_CUSTOM 6119     /* 1016 */
#define IDS_PAPER_16K 6120        /* 1014 */
#define IDS_PAPER_FOLIO 6713      /* 1017 */
#define IDS_PAPER_STATEMENT 6714  /* 1018 */
#define IDS_PAPER_POSTCARD 6757   /* 1019 */
#define IDS_PAPER_DOUBLE_POSTCARD 6758 /* 1020 */
#define IDS_PAPER_ENV_C6 6759     /* 1021 */
#define IDS_PAPER_ENV_B6 6760     /* 1022 */
#define IDS_PAPER_TABLOID 6761    /* 1023 */
#define IDS_PAPER_OFICIO 6766     /* 1024 */
#define IDS_SAME_AS_PAPER_SIZE 6606

/* ---- Common values and messages ------------------------------------------------------------- */

#define IDS_OFF 6121
#define IDS_ON 6122
#define IDS_VALUE_3 6123 /* with IDS_OFF and IDS_ON the names of values 1 to 4 (6120 + value) */
#define IDS_VALUE_4 6124
#define IDS_PRINTER_DEFAULT 6127
#define IDS_NONE 6141
#define IDS_MESSAGE_CAPTION 6137
#define IDS_NOT_A_NUMBER 6142 /* the field's label */
#define IDS_INVALID_NAME 6524 /* the field's label */
#define IDS_DELETE_CAPTION 6525
#define IDS_DELETE_QUESTION 6586 /* the item's name */
#define IDS_RESOURCE_FAILURE 6549

/* ---- Paper types, by name index (keys of user names in brackets) ---------------------------- */

#define IDS_TYPE_PLAIN 6143        /* 1 */
#define IDS_TYPE_TRANSPARENCY 6144 /* 2 */
#define IDS_TYPE_THICK 6145        /* 3 */
#define IDS_TYPE_PREPRINTED 6146   /* 4 */
#define IDS_TYPE_LETTERHEAD 6147   /* 5 */
#define IDS_TYPE_PREPUNCHED 6148   /* 6 */
#define IDS_TYPE_LABELS 6149       /* 7 */
#define IDS_TYPE_BOND 6150         /* 8 */
#define IDS_TYPE_RECYCLED 6151     /* 9 */
#define IDS_TYPE_COLOR 6152        /* 10 */
#define IDS_TYPE_CARDSTOCK 6153    /* 11 */
#define IDS_TYPE_USER_1 6154       /* 12 (128) */
#define IDS_TYPE_USER_2 6155       /* 13 (129) */
#define IDS_TYPE_USER_3 6156       /* 14 (130) */
#define IDS_TYPE_USER_4 6157       /* 15 (131) */
#define IDS_TYPE_USER_5 6158       /* 16 (132) */
#define IDS_TYPE_USER_6 6159       /* 17 (133) */
#define IDS_TYPE_ROUGH 6752        /* replaces 6159 for some models */
#define IDS_TYPE_ENVELOPE 6728     /* 19 */
#define IDS_TYPE_LIGHT 6763        /* 22 */
#define IDS_TYPE_HEAVY 6767        /* 23 */
#define IDS_TYPE_GLOSSY 6768       /* 24 */
#define IDS_TYPE_HEAVY_GLOSSY 6769 /* 25 */
#define IDS_TYPE_TOUGH 6770        /* 26 */

/* ---- Output bins, by name index (keys of user names in brackets) ---------------------------- */

#define IDS_BIN_STANDARD 6192  /* 1 */
#define IDS_BIN_FACE_UP 6193   /* 2 */
#define IDS_BIN_MAILBOX_1 6194 /* 3 to 18: mailboxes 1 to 16 (keys 1 to 16) */
#define IDS_BIN_MAILBOX_16 6209
#define IDS_BIN_JOB_SEPARATOR 6526 /* 19 (2) */

/* ---- Paper handling (Paper page) ------------------------------------------------------------ */

#define IDS_STAPLE_TOP_LEFT 6398
#define IDS_STAPLE_TOP_RIGHT 6399
#define IDS_STAPLE_TWO_LEFT 6717
#define IDS_STAPLE_TWO_TOP 6718
#define IDS_STAPLE_TWO_RIGHT 6719
#define IDS_STAPLE_SADDLE 6720
#define IDS_PUNCH_TWO_HOLES 6723

/* ---- Setup page ----------------------------------------------------------------------------- */

#define IDS_PAGES_1 6176
#define IDS_PAGES_2 6177
#define IDS_PAGES_4 6178
#define IDS_PAGES_6 6179
#define IDS_PAGES_9 6180
#define IDS_PAGES_16 6181
#define IDS_HOLD_USER_INVALID 6565 /* the user name */
#define IDS_HOLD_PIN_INVALID 6566  /* the PIN */

/* ---- Colour page ---------------------------------------------------------------------------- */

#define IDS_COLOR 6160
#define IDS_MONOCHROME 6161
#define IDS_C1_AUTOMATIC 6254 /* also C6b and C7 */
#define IDS_C1_SCREEN 6255
#define IDS_C1_DEVICE 6256
#define IDS_C6B_MANUAL 6253
#define IDS_C2_COMPOSITE 6182
#define IDS_C2_BLACK_ONLY 6183
#define IDS_C3_VIVID 6184
#define IDS_C3_PHOTO 6185
#define IDS_C3_SCREEN 6568
#define IDS_C3_CUSTOM 6726
#define IDS_C4_LIGHT 6186
#define IDS_C4_MEDIUM 6187
#define IDS_C4_STRONG 6188
#define IDS_C6_NORMAL 6528
#define IDS_C6_SHARP 6529
#define IDS_C6_EXTRA_SHARP 6530
#define IDS_C7_TEXT_ONLY 6569

/* ---- Watermark editor: colours -------------------------------------------------------------- */

#define IDS_COLOR_BLACK 6458
#define IDS_COLOR_RED 6459
#define IDS_COLOR_GREEN 6460
#define IDS_COLOR_BLUE 6461
#define IDS_COLOR_CYAN 6462
#define IDS_COLOR_MAGENTA 6463
#define IDS_COLOR_YELLOW 6464

/* ---- Installable options page --------------------------------------------------------------- */

#define IDS_UPDATE_QUESTION 6138
#define IDS_UPDATE_CAPTION 6139
#define IDS_UPDATE_FAILED 6140
#define IDS_OPTION_TRAY_A 6384
#define IDS_OPTION_TRAY_A_250 6585
#define IDS_OPTION_TRAY_A_550 6751
#define IDS_OPTION_TRAY_B_250 6385
#define IDS_OPTION_TRAY_B 6386
#define IDS_OPTION_TRAY_B_550 6753
#define IDS_OPTION_TRAY_C 6387
#define IDS_OPTION_TRAY_C_250 6567
#define IDS_OPTION_TRAY_LARGE 6716
#define IDS_OPTION_FEEDER_A 6388
#define IDS_OPTION_FEEDER_B 6389
#define IDS_OPTION_OUTPUT 6390
#define IDS_OPTION_OUTPUT_5 6552
#define IDS_OPTION_ENVELOPE 6391
#define IDS_OPTION_ENVELOPE_75 6551
#define IDS_OPTION_ENVELOPE_TRAY 6584
#define IDS_OPTION_BASE 6392
#define IDS_OPTION_STACKER 6393
#define IDS_OPTION_DUPLEX 6394
#define IDS_OPTION_FINISHER 6395
#define IDS_OPTION_DISK 6258
#define IDS_OPTION_NETWORK 6259
#define IDS_OPTION_BOOKLET 6725
#define IDS_OPTION_STAND 6727
#define IDS_OPTION_CASTERS 6765
#define IDS_OPTION_OFFSET 6762

/* ---- Web page ------------------------------------------------------------------------------- */

#define IDS_WEB_FILE_FILTER 6533 /* its last character separates the parts */
#define IDS_WEB_REDIRECTING 6534
#define IDS_WEB_NO_BROWSER 6548

/* ---- Configurations page (each message a run that ends at the first missing ID) ------------- */

#define IDS_CONFIG_NONE 6627
#define IDS_CONFIG_CAPTION 6630
#define IDS_CONFIG_NAME_INVALID 6631
#define IDS_CONFIG_OVERWRITE 6636
#define IDS_CONFIG_DELETE 6641
#define IDS_CONFIG_SHARED_FULL 6646
#define IDS_CONFIG_PERSONAL_FULL 6651
#define IDS_CONFIG_FULL 6656
#define IDS_CONFIG_NAME_TAKEN 6661
#define IDS_CONFIG_FAILED 6666
#define IDS_CONFIG_LOAD_FAILED 6671
#define IDS_CONFIG_NOT_LOADED 6676

/* ---- Account dialog ------------------------------------------------------------------------- */

#define IDS_ACCOUNT_CAPTION 6698
#define IDS_ACCOUNT_ERROR_CAPTION 6699
#define IDS_ACCOUNT_DIGITS_ONLY 6700
#define IDS_ACCOUNT_EMPTY 6701

/* ---- About page (at most 45 characters each) ------------------------------------------------ */

#define IDS_ABOUT_PRODUCT 6733
#define IDS_ABOUT_PRODUCT_BREVIK 6734
#define IDS_ABOUT_COPYRIGHT 6735
#define IDS_ABOUT_COPYRIGHT_BREVIK 6736
#define IDS_ABOUT_WEB 6737
#define IDS_ABOUT_WEB_BREVIK 6738

/* ---- Names for the pages' own tables (by the model data's name indexes) --------------------- */

#define IDS_QUALITY_DRAFT 6801
#define IDS_QUALITY_NORMAL 6802
#define IDS_QUALITY_ENHANCED 6803
#define IDS_QUALITY_FINE 6804
#define IDS_MODE_STANDARD 6806
#define IDS_MODE_COMPATIBLE 6807
#define IDS_TONER_SAVE_OFF 6811
#define IDS_TONER_SAVE_LOW 6812
#define IDS_TONER_SAVE_MEDIUM 6813
#define IDS_TONER_SAVE_HIGH 6814
#define IDS_PRINT_MODE_1 6831 /* print-mode names 1 to 7 */
#define IDS_PRINT_MODE_7 6837
#define IDS_ADJUST_AUTOMATIC 6841
#define IDS_ADJUST_VIVID 6842
#define IDS_ADJUST_PHOTO 6843
#define IDS_ADJUST_SCREEN 6844
#define IDS_ADJUST_NONE 6845
#define IDS_ADJUST_CUSTOM 6846
#define IDS_STYLE_REGULAR 6851
#define IDS_STYLE_BOLD 6852
#define IDS_STYLE_ITALIC 6853
#define IDS_STYLE_BOLD_ITALIC 6854
#define IDS_ANGLE_HORIZONTAL 6861
#define IDS_ANGLE_DIAGONAL 6862
#define IDS_ANGLE_VERTICAL 6863

/* ---- User paper size ------------------------------------------------------------------------ */

#define IDS_SIZE_OUT_OF_RANGE 6871 /* the field's label */

#endif
