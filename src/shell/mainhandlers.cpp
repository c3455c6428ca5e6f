// Handlers of the commands that have their menu items, shortcuts, buttons
// and enabling already but do nothing yet: export and print, templates,
// the text and snippet commands, the search dialogs, bookmarks, the Java
// runs, preview, batch commands and the option dialogs.

#include "mainform.h"

void TMainForm::FileItemsOpenTemplateClick() {}
void TMainForm::FileItemsSaveTemplateClick() {}
void TMainForm::FileItemsExportClick() {}
void TMainForm::FileItemsPrintClick() {}

void TMainForm::EditItemsAtoOClick() {}
void TMainForm::EditItemsOtoAClick() {}
void TMainForm::EditItemsCharLowerClick() {}
void TMainForm::EditItemsCharUpperClick() {}
void TMainForm::EditItemsCharLowerLineClick() {}
void TMainForm::EditItemsCharUpperLineClick() {}
void TMainForm::EditItemsCharToggleClick() {}
void TMainForm::EditItemsSelectionIndentClick() {}
void TMainForm::EditItemsSelectionOutdentClick() {}

void TMainForm::SearchItemsFindClick() {}
void TMainForm::SearchItemsFindAgainClick() {}
void TMainForm::SearchItemsReplaceClick() {}
void TMainForm::SearchItemsLineClick() {}
void TMainForm::SearchItemsBookClick() {}

void TMainForm::cmdHTMLFormClick() {}
void TMainForm::cmdHTMLButtonClick() {}
void TMainForm::cmdHTMLFormImageClick() {}
void TMainForm::cmdHTMLInputClick() {}
void TMainForm::cmdHTMLRadioClick() {}
void TMainForm::cmdHTMLCheckClick() {}
void TMainForm::cmdHTMLSelectClick() {}
void TMainForm::cmdHTMLTextClick() {}
void TMainForm::cmdHTMLImageClick() {}
void TMainForm::cmdHTMLLinkClick() {}
void TMainForm::cmdHTMLMailClick() {}
void TMainForm::cmdHTMLBoldClick() {}
void TMainForm::cmdHTMLItalicClick() {}
void TMainForm::cmdHTMLUnderlineClick() {}
void TMainForm::cmdHTMLParagraphClick() {}
void TMainForm::cmdHTMLBreakClick() {}
void TMainForm::cmdHTMLHorizonClick() {}
void TMainForm::cmdHTMLLeftClick() {}
void TMainForm::cmdHTMLCenterClick() {}
void TMainForm::cmdHTMLRightClick() {}
void TMainForm::cmdHTMLOListClick() {}
void TMainForm::cmdHTMLUOListClick() {}
void TMainForm::cmdHTMLColorClick() {}
void TMainForm::PopHead1Click(int) {}
void TMainForm::cmdTableClick() {}
void TMainForm::cmdTableRowClick() {}
void TMainForm::cmdTableColClick() {}
void TMainForm::ToolItemsJavaWritePrintLineClick() {}
void TMainForm::ToolItemsJavaWritePrintOnlyClick() {}
void TMainForm::ToolItemsJavaWriteCloseClick() {}
void TMainForm::ToolItemsJavaWritePrintLineConvertClick() {}
void TMainForm::PopJSPFragmentClick() {}
void TMainForm::PopJSPExpressionClick() {}
void TMainForm::PopJSPDeclaraionClick() {}
void TMainForm::PopJSPDirectiveClick() {}
void TMainForm::PopJSPCommentClick() {}
void TMainForm::PopJSPTagClick() {}
void TMainForm::PopJSPOutPutClick() {}
void TMainForm::ToolItemsHTMLTagsTemplateClick() {}

void TMainForm::ToolItemsJavaCompileClick() {}
void TMainForm::ToolItemsJavaRunClick() {}
void TMainForm::cmdBrowseClick() {}
void TMainForm::ToolItemsRunBatchClick() {}
void TMainForm::BookMark02Click(int) {}
void TMainForm::BookMark01Click(int) {}
void TMainForm::PopGoBookPopup() {}

void TMainForm::OptionItemsEditorClick() {}
