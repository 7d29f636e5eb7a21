# Writes index.html and style.css into the page's folder: the window as page_html writes it, in the
# page's own files. cmake -DSITE=folder -DSOURCE=dir -DNODE=node -DPAGE_HTML=page_html.js -P page.cmake
foreach(part title body css)
    execute_process(COMMAND ${NODE} ${PAGE_HTML} ${part} OUTPUT_VARIABLE ${part}
        COMMAND_ERROR_IS_FATAL ANY)
endforeach()
string(STRIP "${title}" KESTROVA_TITLE)
set(KESTROVA_FORM1 "${body}")
configure_file(${SOURCE}/index.html ${SITE}/index.html @ONLY)
file(READ ${SOURCE}/style.css style)
file(WRITE ${SITE}/style.css.new "${style}/* The window's layout. */\n${css}")
file(COPY_FILE ${SITE}/style.css.new ${SITE}/style.css ONLY_IF_DIFFERENT)
file(REMOVE ${SITE}/style.css.new)
