# Checks the compiled help file against its sources: every page and style sheet of docs/help is
# inside "Zorvik Help.chm", and every link between the pages leads to a page that exists.
#   cmake -DCHMLS=<chmls> -DHELP_FILE=<.chm> -DHELP_SOURCES=<docs/help> -P CheckHelpFile.cmake
execute_process(COMMAND ${CHMLS} list ${HELP_FILE} OUTPUT_VARIABLE listing ERROR_QUIET
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "chmls could not read ${HELP_FILE}")
endif()

set(failures "")
file(GLOB pages RELATIVE ${HELP_SOURCES} ${HELP_SOURCES}/*.html ${HELP_SOURCES}/*.css)
list(LENGTH pages page_count)
if(page_count EQUAL 0)
  message(FATAL_ERROR "no pages in ${HELP_SOURCES}")
endif()
foreach(page IN LISTS pages)
  string(FIND "${listing}" "/${page}\n" found)
  if(found EQUAL -1)
    string(APPEND failures "  ${page} is not in the help file\n")
  endif()
endforeach()

foreach(source IN LISTS pages ITEMS Contents.hhc Index.hhk)
  file(READ ${HELP_SOURCES}/${source} text)
  string(REGEX MATCHALL "(href|value)=\"[^\"#:]+\\.html\"" links "${text}")
  foreach(link IN LISTS links)
    string(REGEX REPLACE "^[a-z]+=\"([^\"]+)\"$" "\\1" target "${link}")
    if(NOT EXISTS ${HELP_SOURCES}/${target})
      string(APPEND failures "  ${source} links to ${target}, which does not exist\n")
    endif()
  endforeach()
endforeach()

if(failures)
  message(FATAL_ERROR "help file check failed:\n${failures}")
endif()
message(STATUS "${page_count} pages, all in the help file, all links lead somewhere")
