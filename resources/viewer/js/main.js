/* Kelvara catalogue pages: lazy pictures, the carousels and the rating stars. The catalogue
   header's filter and account menus are written with the header into each page that shows it.
   Needs jQuery, Bootstrap, LazyLoad, slick and star-rating. */
$(document).ready(function () {
    var lazyImages = new LazyLoad();

    if ($.fn.slick) {
        $('.multiple-items').slick({
            lazyLoad: 'ondemand',
            infinite: true,
            slidesToShow: 6,
            slidesToScroll: 6
        });
        $('.banner').slick({
            lazyLoad: 'ondemand',
            infinite: true,
            dots: true,
            autoplay: true,
            autoplaySpeed: 2000,
            arrows: false
        });
        // The infinite carousels clone their first and last slides; let the loader see the clones.
        lazyImages.update();
    }

    if ($.fn.rating) {
        // readonly is the spelling the plugin reads; readOnly is kept as the list pages pass it.
        $('.rating-detail').rating({
            glyphicon: false,
            ratingClass: 'rating-fa',
            size: 'xs',
            step: 1,
            showClear: false,
            showCaption: false,
            readOnly: true,
            readonly: true
        });
    }
});
