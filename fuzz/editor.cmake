# The editor's clipboard blocks: the reader of what any program may put under the editor's
# registered clipboard formats.
if(TARGET editor_clipblock)
  mms_add_fuzzer(fuzz_editor_clipboard_block SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_editor_clipboard_block.cpp
                 LIBS editor_clipblock)
endif()
