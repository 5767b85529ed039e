# Copies the help texts that exist from FROM to TO (cmake -P).
foreach(help successions.txt infogeneral.txt)
  if(EXISTS ${FROM}/${help})
    file(COPY_FILE ${FROM}/${help} ${TO}/${help} ONLY_IF_DIFFERENT)
  endif()
endforeach()
