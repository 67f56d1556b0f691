# png2rgba as a developer uses it: the pixels of a file in red, green, blue,
# alpha order, rows from the top, as ImageMagick reads the same file; "W H"
# on standard output; a refused file gives the decoder's message and code 1.
# The files are drawn by ImageMagick without gamma chunks, which our decoder
# would apply and ImageMagick's raw output would not.
# cmake -DTOOL=<png2rgba> -DWORK=<scratch folder> -P png2rgba_test.cmake
file(MAKE_DIRECTORY ${WORK})
set(no_gamma "png:exclude-chunk=gAMA,sRGB,cHRM,bKGD,tIME,tEXt,zTXt,iTXt,pHYs,date")
set(picture -size 5x3 xc:none -fill "rgba(200,30,60,0.5)" -draw "point 1,1" -fill blue -draw
            "point 4,2" -fill "rgb(10,250,90)" -draw "point 0,2")
foreach(kind PNG8 PNG24 PNG32)
  execute_process(COMMAND convert ${picture} -define ${no_gamma} ${kind}:${WORK}/${kind}.png
                  RESULT_VARIABLE code)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "ImageMagick could not draw a ${kind} file")
  endif()
  execute_process(COMMAND ${TOOL} ${WORK}/${kind}.png ${WORK}/${kind}.rgba
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT code EQUAL 0 OR NOT out STREQUAL "5 3\n")
    message(FATAL_ERROR "${kind}: exit ${code}, output '${out}', errors '${err}'")
  endif()
  execute_process(COMMAND convert ${WORK}/${kind}.png -depth 8 rgba:${WORK}/${kind}.expected)
  file(SHA256 ${WORK}/${kind}.rgba got)
  file(SHA256 ${WORK}/${kind}.expected want)
  if(NOT got STREQUAL want)
    message(FATAL_ERROR "${kind}: the pixels differ from ImageMagick's")
  endif()
endforeach()

file(WRITE ${WORK}/broken.png "\x89PNG\r\n\x1a\nnot a PNG")
execute_process(COMMAND ${TOOL} ${WORK}/broken.png ${WORK}/broken.rgba
                RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT code EQUAL 1 OR err STREQUAL "" OR NOT out STREQUAL "")
  message(FATAL_ERROR "a broken file: exit ${code}, output '${out}', errors '${err}'")
endif()
