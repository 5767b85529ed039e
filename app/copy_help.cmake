# Copies the help texts TEXTS (full paths, ";"-separated: the release manifest's help
# entries) that exist into the folder TO (cmake -P).
foreach(help IN LISTS TEXTS)
  if(EXISTS ${help})
    get_filename_component(name ${help} NAME)
    file(COPY_FILE ${help} ${TO}/${name} ONLY_IF_DIFFERENT)
  endif()
endforeach()
