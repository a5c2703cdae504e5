function(ui_win32_add_to target)
endfunction()
