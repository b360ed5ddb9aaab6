# cmake -DSRC=<folder> -DDST=<folder> -P CopyFolder.cmake: copies SRC to DST when SRC exists.
if(EXISTS "${SRC}")
  file(COPY "${SRC}/" DESTINATION "${DST}")
endif()
