/* Dialog templates of the language library and the IDs of their controls, template by template.
   A control that several templates carry (Defaults, the printer picture) is named once, where
   it first appears. Labels and group boxes that no code touches use -1 in the scripts. */
#ifndef QV_IDS_TEMPLATES_H
#define QV_IDS_TEMPLATES_H

/* ---- Templates ------------------------------------------------------------------------------ */

/* Document sheet pages, slots 1 to 10 (the model's page-template set names them). */
#define IDD_SETUP 5001
#define IDD_PAPER 5002
#define IDD_GRAPHICS 5003
#define IDD_FONTS 5004
#define IDD_OVERLAY 5005
#define IDD_COLOR 5006
#define IDD_ADVANCED_COLOR 5007
#define IDD_CONFIGURATIONS 5008
#define IDD_WEB 5009
#define IDD_ABOUT 5010
/* Device sheet pages: installable options (or memory only, for a model without options),
   customisation; the About page is IDD_ABOUT. */
#define IDD_DEVICE 5011
#define IDD_CUSTOMISE 5012
#define IDD_DEVICE_MEMORY 5013

/* Modal and modeless dialogs. */
#define IDD_WATERMARK 5024
#define IDD_WATERMARK_DELETE 5025
#define IDD_USER_PAPER 5026
#define IDD_PAPER_ASSOCIATION 5027
#define IDD_WEB_ADDRESS 5031
#define IDD_JOB_HOLD 5035
#define IDD_CONFIG_SAVE_AS 5042
#define IDD_CONFIG_RENAME 5043
#define IDD_SUMMARY 5044
#define IDD_ACCOUNT 5046
#define IDD_OPTIONS 5047
#define IDD_OPTIONS_STATUS 5048
#define IDD_MANUAL_DUPLEX_1 5051
#define IDD_MANUAL_DUPLEX_2 5052
#define IDD_MANUAL_DUPLEX_3 5053
#define IDD_JOB_HOLD_PIN 5058

/* ---- Shared controls ------------------------------------------------------------------------ */

#define IDC_DEFAULTS 6283
/* QELPCLPRTBMP: the printer picture (summary window, installable options page). */
#define IDC_PRINTER_PICTURE 5123
/* Dialog help button (the platform's IDHELP). */
#define IDC_HELP_BUTTON 9

/* ---- Setup page (IDD_SETUP) ----------------------------------------------------------------- */

#define IDC_COPIES_LABEL 6272
#define IDC_COPIES_SPIN 6273
#define IDC_COPIES 6274
#define IDC_COLLATE 6282
#define IDC_COPIES_PICTURE 5147
#define IDC_PORTRAIT 6276
#define IDC_LANDSCAPE 6277
#define IDC_ROTATED 6278
#define IDC_ORIENTATION_PICTURE 5145
#define IDC_DUPLEX_GROUP 6363
#define IDC_DUPLEX_NONE 6364
#define IDC_DUPLEX_LONG 6365
#define IDC_DUPLEX_SHORT 6366
#define IDC_DUPLEX_ICON 6367
#define IDC_DUPLEX_PICTURE 5146
#define IDC_OUTPUT_BIN_CHOICE 5143
#define IDC_PAGES_PER_SHEET_LABEL 6260
#define IDC_PAGES_PER_SHEET 6279
#define IDC_PAGE_ORDER_ACROSS 6280
#define IDC_PAGE_ORDER_DOWN 6281
#define IDC_BORDERS 6416
#define IDC_LAYOUT_PICTURE_PORTRAIT 5176
#define IDC_LAYOUT_PICTURE_LANDSCAPE 5177
#define IDC_OPTIONS_BUTTON 5243
#define IDC_STATUS_BUTTON 5244
#define IDC_JOB_HOLD_BUTTON 6555

/* ---- Paper page (IDD_PAPER) ----------------------------------------------------------------- */

#define IDC_PAPER_SIZE_LABEL 6286
#define IDC_PAPER_SIZE 6287
#define IDC_SELECT_BY_GROUP 5108
#define IDC_SELECT_BY_TYPE 6290
#define IDC_SELECT_BY_SOURCE 6291
#define IDC_PAPER_SOURCE_LABEL 6288
#define IDC_PAPER_SOURCE 6289
#define IDC_PAPER_TYPE_LABEL 6284
#define IDC_PAPER_TYPE 6285
#define IDC_OUTPUT_SIZE_LABEL 6604
#define IDC_OUTPUT_SIZE 6605
#define IDC_OUTPUT_GROUP 5188
#define IDC_OUTPUT_BIN_LABEL 6420
#define IDC_OUTPUT_BIN 6370
#define IDC_FINISHING_GROUP 5187
#define IDC_HANDLING1_LABEL 6368
#define IDC_HANDLING1 6369
#define IDC_HANDLING1_NOTE 6371
#define IDC_HANDLING2_LABEL 6553
#define IDC_HANDLING2 6554
#define IDC_HANDLING3_LABEL 6721
#define IDC_HANDLING3 6722
/* Placeholders: the page paints the pictures at their positions and hides them. */
#define IDC_PAPER_PICTURE_LABEL 5250
#define IDC_PAPER_PICTURE 5189
#define IDC_OUTPUT_ARROW 5248
#define IDC_OUTPUT_PICTURE 5249
#define IDC_OUTPUT_PICTURE_LABEL 5251

/* ---- Graphics page (IDD_GRAPHICS) ----------------------------------------------------------- */

#define IDC_QUALITY_LABEL 6270
#define IDC_QUALITY 6271
#define IDC_GRAPHICS_MODE_LABEL 6372
#define IDC_GRAPHICS_MODE 6373
#define IDC_PRINT_MODE_LABEL 6587
#define IDC_PRINT_MODE 6415
#define IDC_G1_LABEL 6400
#define IDC_G1 6401
#define IDC_G2_LABEL 6412
#define IDC_G2 6403
#define IDC_G3_LABEL 6572
#define IDC_G3 6413
#define IDC_G4_LABEL 6414
#define IDC_G4 6573
#define IDC_G5_LABEL 6408
#define IDC_G5 6588
#define IDC_DITHER_GROUP 6404
#define IDC_DITHER_COARSE 6405 /* value 2 */
#define IDC_DITHER_NONE 6406   /* value 1 */
#define IDC_DITHER_FINE 6407   /* value 3 */
#define IDC_LEVEL_LABEL 6402
#define IDC_LEVEL 6409
#define IDC_LEVEL_LOW 6410
#define IDC_LEVEL_HIGH 6411
#define IDC_LEVEL_ICON 6424

/* ---- Fonts page (IDD_FONTS) ----------------------------------------------------------------- */

#define IDC_FONT_HANDLING_GRAPHICS 6342 /* value 1 */
#define IDC_FONT_HANDLING_BITMAP 6343   /* value 2 */
#define IDC_FONT_HANDLING_OUTLINE 6344  /* value 4 */
#define IDC_F1 6345
#define IDC_F2 6346
#define IDC_F3 6715
/* Font sources by bit number. */
#define IDC_FONT_SOURCE_0 5179
#define IDC_FONT_SOURCE_1 5180
#define IDC_FONT_SOURCE_2 5181
#define IDC_FONT_SOURCE_3 5182
#define IDC_FONT_SOURCE_4 5183
#define IDC_FONT_SOURCE_5 5185
#define IDC_FONT_SOURCE_6 5186
#define IDC_FONT_SOURCE_7 5184
#define IDC_FONT_SOURCE_LIST_LABEL 6347
#define IDC_FONT_SOURCE_LIST 6348

/* ---- Overlay page (IDD_OVERLAY) ------------------------------------------------------------- */

/* QelTab strip and the two controls its tabs stand for. */
#define IDC_OVERLAY_TABS 6480
#define IDC_OVERLAY_TAB 6478
#define IDC_WATERMARK_TAB 6479
/* Overlay tab: 6350 to 6360. */
#define IDC_OVERLAY_SWITCH_GROUP 6350
#define IDC_OVERLAY_OFF 6351
#define IDC_OVERLAY_ON 6352
#define IDC_OVERLAY_FORMS_GROUP 6353
#define IDC_OVERLAY_FIRST_LABEL 6354
#define IDC_OVERLAY_FIRST 6355
#define IDC_OVERLAY_OTHER_LABEL 6356
#define IDC_OVERLAY_OTHER 6357
#define IDC_OVERLAY_PLACEMENT_LABEL 6358
#define IDC_OVERLAY_PLACEMENT_0 6359
#define IDC_OVERLAY_PLACEMENT_1 6360
/* Watermark tab: 6467 to 6477. */
#define IDC_WATERMARK_SWITCH_GROUP 6467
#define IDC_WATERMARK_OFF 6468
#define IDC_WATERMARK_ON 6469
#define IDC_WATERMARK_CHOICE_GROUP 6470
#define IDC_WATERMARK_FIRST_LABEL 6471
#define IDC_WATERMARK_FIRST 6472
#define IDC_WATERMARK_OTHER_LABEL 6473
#define IDC_WATERMARK_OTHER 6474
#define IDC_WATERMARK_PLACEMENT_LABEL 6475
#define IDC_WATERMARK_PLACEMENT_0 6476
#define IDC_WATERMARK_PLACEMENT_1 6477

/* ---- Colour page (IDD_COLOR) ---------------------------------------------------------------- */

#define IDC_COLOR_MODE_LABEL 6292
#define IDC_COLOR_MODE 6293
#define IDC_C1_LABEL 6294
#define IDC_C1 6295
#define IDC_C2_LABEL 6296
#define IDC_C2 6297
#define IDC_C3_LABEL 6298
#define IDC_C3 6299
#define IDC_C4_LABEL 6300
#define IDC_C4 6301
#define IDC_C5_LABEL 6302
#define IDC_C5 6303
#define IDC_C6_LABEL 6531
#define IDC_C6 6532
#define IDC_C7_LABEL 6570
#define IDC_C7 6571
#define IDC_C8 6304

/* ---- Advanced colour page (IDD_ADVANCED_COLOR) ---------------------------------------------- */

/* Three groups (text, graphics, photos) of twelve IDs each, from the group box: the choice list
   with its label, then adjustments A, B and C, each a label, a scroll bar and a value text. */
#define IDC_ADJUST_TEXT 6305
#define IDC_ADJUST_GRAPHICS 6317
#define IDC_ADJUST_PHOTO 6329
#define IDC_ADJUST(group, part) ((group) + (part))
#define ADJUST_CHOICE_LABEL 1
#define ADJUST_CHOICE 2
#define ADJUST_A_LABEL 3
#define ADJUST_A 4
#define ADJUST_A_VALUE 5
#define ADJUST_B_LABEL 6
#define ADJUST_B 7
#define ADJUST_B_VALUE 8
#define ADJUST_C_LABEL 9
#define ADJUST_C 10
#define ADJUST_C_VALUE 11
#define IDC_PROFILE_TEXT_LABEL 6739
#define IDC_PROFILE_TEXT 6740
#define IDC_PROFILE_GRAPHICS_LABEL 6741
#define IDC_PROFILE_GRAPHICS 6742
#define IDC_PROFILE_PHOTO_LABEL 6743
#define IDC_PROFILE_PHOTO 6744

/* ---- Configurations page (IDD_CONFIGURATIONS) and its name dialogs -------------------------- */

#define IDC_CONFIG_LIST_LABEL 6613
#define IDC_CONFIG_LIST 6614
#define IDC_CONFIG_LOAD 6615
#define IDC_CONFIG_SAVE_AS 6616
#define IDC_CONFIG_RENAME 6617
#define IDC_CONFIG_OVERWRITE 6618
#define IDC_CONFIG_DELETE 6619
#define IDC_CONFIG_RESERVED 6620 /* a push button kept hidden: only its state is ever set */
#define IDC_CONFIG_CURRENT_LABEL 6621
#define IDC_CONFIG_CURRENT 6622
#define IDC_CONFIG_WIZARD 6623
#define IDC_CONFIG_GROUP 6707
#define IDC_CONFIG_NAME 6626

/* ---- Web page (IDD_WEB) and the address dialog (IDD_WEB_ADDRESS) ---------------------------- */

#define IDC_WEB_TITLE 6535
#define IDC_WEB_HOME 6536
#define IDC_WEB_DRIVERS 6538
#define IDC_WEB_SUPPLIES 6540
#define IDC_WEB_SUPPORT 6542
#define IDC_WEB_REGISTER 6711
#define IDC_WEB_SETTINGS 6544
/* Placeholders of the link pictures, in the order of the buttons above. */
#define IDC_WEB_HOME_PICTURE 5252
#define IDC_WEB_DRIVERS_PICTURE 5253
#define IDC_WEB_SUPPLIES_PICTURE 5254
#define IDC_WEB_SUPPORT_PICTURE 5255
#define IDC_WEB_REGISTER_PICTURE 5256
#define IDC_WEB_CONFIG_FILE 6545
#define IDC_WEB_BROWSE 6546

/* ---- About page (IDD_ABOUT) ----------------------------------------------------------------- */

#define IDC_ABOUT_PRINTER 6223
#define IDC_ABOUT_ICON 6396
#define IDC_ABOUT_BRAND_1 6730
#define IDC_ABOUT_BRAND_2 6731
#define IDC_ABOUT_BRAND_3 6732
/* Library lines: a label whose text is a format with one %s for the file name, and its value. */
#define IDC_ABOUT_DD_VERSION 6224
#define IDC_ABOUT_DL_LABEL 6239
#define IDC_ABOUT_DL_VERSION 6240
#define IDC_ABOUT_DA_LABEL 6241
#define IDC_ABOUT_DA_VERSION 6242
#define IDC_ABOUT_TD_LABEL 6231
#define IDC_ABOUT_TD_VERSION 6232
#define IDC_ABOUT_TE_LABEL 6233
#define IDC_ABOUT_TE_VERSION 6234
#define IDC_ABOUT_TF_LABEL 6266
#define IDC_ABOUT_TF_VERSION 6267
#define IDC_ABOUT_BJ_LABEL 6268
#define IDC_ABOUT_BJ_VERSION 6269

/* ---- Installable options page (IDD_DEVICE, IDD_DEVICE_MEMORY) ------------------------------- */

#define IDC_MEMORY_LABEL 6374
#define IDC_MEMORY 6375
#define IDC_MEMORY_SPIN 6376
#define IDC_DEVICE_DISK 6377
#define IDC_DEVICE_STORAGE 6750
#define IDC_UPDATE_FROM_PRINTER 6378
#define IDC_AVAILABLE_LABEL 5117
#define IDC_AVAILABLE 6379
#define IDC_INSTALLED_LABEL 5118
#define IDC_INSTALLED 6380
/* QelTab strip with three owner-drawn action buttons. */
#define IDC_OPTION_TABS 5124
#define IDC_INSTALL_TAB 6381
#define IDC_INSTALL_UNDER_TAB 6382
#define IDC_REMOVE_TAB 6383
/* QelPclBmp brand picture. */
#define IDC_BRAND_PICTURE 5261

/* ---- Customisation page (IDD_CUSTOMISE) ----------------------------------------------------- */

#define IDC_FORMS_GROUP 6430 /* its text is also the caption of the paper dialogs */
#define IDC_FORMS_LABEL 6428
#define IDC_FORMS 6429
#define IDC_NEW_SIZE 6431
#define IDC_NEW_ASSOCIATION 6432
#define IDC_EDIT_FORM 6433
#define IDC_DELETE_FORM 6434
#define IDC_WATERMARKS_GROUP 6425
#define IDC_EDIT_WATERMARKS 6426
#define IDC_DELETE_WATERMARKS 6427
#define IDC_FONT_TOOLS_GROUP 6418
#define IDC_MACRO_TOOLS_GROUP 6419
#define IDC_TOOLKIT_DOWNLOAD_FONTS 6349 /* action 4 */
#define IDC_TOOLKIT_PRINTER_FONTS 6397  /* action 6 */
#define IDC_TOOLKIT_DOWNLOAD_MACROS 6361 /* action 2 */
#define IDC_TOOLKIT_MACROS 6362         /* action 3 */

/* ---- Watermark editor (IDD_WATERMARK) and deletion dialog (IDD_WATERMARK_DELETE) ------------ */

#define IDC_WM_NAME_LABEL 6438
#define IDC_WM_NAME 6439
#define IDC_WM_NEW 6435
#define IDC_WM_DELETE 6436
#define IDC_WM_TEXT 6437
#define IDC_WM_FONT 6441
#define IDC_WM_STYLE 6446
#define IDC_WM_ANGLE 6447
#define IDC_WM_SIZE 6445
#define IDC_WM_SIZE_SPIN 6550
#define IDC_WM_INTENSITY 6448
#define IDC_WM_COLOR 6457
/* QelSimpleText fits itself into the frame. */
#define IDC_WM_PREVIEW_FRAME 5132
#define IDC_WM_PREVIEW 5133
#define IDC_WMDEL_LIST 6466
#define IDC_WMDEL_DELETE 6264
#define IDC_WMDEL_CLOSE 6263

/* ---- User paper size (IDD_USER_PAPER) ------------------------------------------------------- */

#define IDC_UPS_WIDTH_LABEL 6481
#define IDC_UPS_WIDTH 6482
#define IDC_UPS_HEIGHT_LABEL 6483
#define IDC_UPS_HEIGHT 6484
#define IDC_UPS_INCHES 6485
#define IDC_UPS_MILLIMETRES 6486
#define IDC_UPS_NAME_LABEL 6487
#define IDC_UPS_NAME 6488
#define IDC_UPS_WIDTH_RANGE 6489
#define IDC_UPS_HEIGHT_RANGE 6490
#define IDC_UPS_RESERVED_1 6492 /* hidden and disabled by the dialog */
#define IDC_UPS_RESERVED_2 6493

/* ---- Paper association (IDD_PAPER_ASSOCIATION) ---------------------------------------------- */

#define IDC_PA_NAME_LABEL 6494
#define IDC_PA_NAME 6495
#define IDC_PA_FORM_LABEL 6496
#define IDC_PA_FORM 6497
#define IDC_PA_TYPE_LABEL 6498
#define IDC_PA_TYPE 6499
#define IDC_PA_MODE_GROUP 6500
#define IDC_PA_MODE_BOTH 6501
#define IDC_PA_MODE_FIRST 6502
#define IDC_PA_MODE_SECOND 6503
/* Overlays and watermarks: for each, the combined list and option pair (both modes), the first
   and the second list with their own pairs; the three sets share one place. */
#define IDC_PA_OVERLAY_LABEL 6504
#define IDC_PA_OVERLAY_BOTH 6505
#define IDC_PA_OVERLAY_BOTH_0 6506
#define IDC_PA_OVERLAY_BOTH_1 6507
#define IDC_PA_OVERLAY_FIRST 6508
#define IDC_PA_OVERLAY_FIRST_0 6509
#define IDC_PA_OVERLAY_FIRST_1 6510
#define IDC_PA_OVERLAY_SECOND 6511
#define IDC_PA_OVERLAY_SECOND_0 6512
#define IDC_PA_OVERLAY_SECOND_1 6513
#define IDC_PA_WATERMARK_LABEL 6514
#define IDC_PA_WATERMARK_BOTH 6515
#define IDC_PA_WATERMARK_BOTH_0 6516
#define IDC_PA_WATERMARK_BOTH_1 6517
#define IDC_PA_WATERMARK_FIRST 6518
#define IDC_PA_WATERMARK_FIRST_0 6519
#define IDC_PA_WATERMARK_FIRST_1 6520
#define IDC_PA_WATERMARK_SECOND 6521
#define IDC_PA_WATERMARK_SECOND_0 6522
#define IDC_PA_WATERMARK_SECOND_1 6523

/* ---- Job hold (IDD_JOB_HOLD, IDD_JOB_HOLD_PIN) ---------------------------------------------- */

#define IDC_HOLD_MODE_0 6556
#define IDC_HOLD_MODE_1 6557
#define IDC_HOLD_MODE_2 6558
#define IDC_HOLD_MODE_3 6559
#define IDC_HOLD_MODE_4 6560
#define IDC_HOLD_USER_LABEL 6561
#define IDC_HOLD_USER 6562
#define IDC_HOLD_PIN_LABEL 6563
#define IDC_HOLD_PIN 6564
#define IDC_HOLD_PIN_OPTION 6747 /* IDD_JOB_HOLD_PIN only */

/* ---- Options dialogs (IDD_OPTIONS, IDD_OPTIONS_STATUS) -------------------------------------- */

#define IDC_OPT_SWITCH_GROUP 6706
#define IDC_OPT_SWITCH 6702
#define IDC_OPT_NUMBER_LABEL 6703
#define IDC_OPT_NUMBER_SPIN 6704
#define IDC_OPT_NUMBER 6705
#define IDC_OPT_SWITCH_2 6692
#define IDC_OPT_PICTURE 5245
#define IDC_STATUS_GROUP 6589
#define IDC_STATUS_WINDOW 6590
#define IDC_STATUS_START 6422

/* ---- Account dialog (IDD_ACCOUNT) ----------------------------------------------------------- */

#define IDC_ACCOUNT_OK 6694
#define IDC_ACCOUNT_CANCEL 6695
#define IDC_ACCOUNT_ID 6696

/* ---- Manual duplex instructions (IDD_MANUAL_DUPLEX_1 to _3) --------------------------------- */

/* QelPclBmp animation; step labels are IDC_MD_STEP_0 + the step number. */
#define IDC_MD_PICTURE 5257
#define IDC_MD_STEP_0 5258
#define IDC_MD_STEP_1 5259
#define IDC_MD_STEP_2 5260
#define IDC_MD_STEP_3 5261
#define IDC_MD_CLOSE 6724

/* ---- Summary window (IDD_SUMMARY) ----------------------------------------------------------- */

#define IDC_SUMMARY_PREVIEW_FRAME 5106
#define IDC_SUMMARY_PREVIEW 5107 /* QelPaper */
#define IDC_SUMMARY_TITLE 6607
#define IDC_SUMMARY_FORM 6610
#define IDC_SUMMARY_MEDIA_CAPTION 6687
#define IDC_SUMMARY_MEDIA 6611
#define IDC_SUMMARY_QUALITY_CAPTION 6688
#define IDC_SUMMARY_QUALITY 6612
#define IDC_SUMMARY_COPIES_CAPTION 6681
#define IDC_SUMMARY_COPIES 6689
#define IDC_SUMMARY_COLLATE_CAPTION 6682
#define IDC_SUMMARY_COLLATE 6690
#define IDC_SUMMARY_DUPLEX_CAPTION 6683
#define IDC_SUMMARY_DUPLEX 6691

#endif
