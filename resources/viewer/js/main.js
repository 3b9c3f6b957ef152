/* Kelvara catalogue pages: the behaviour shared by the pages that carry the catalogue header,
   the carousels and the rating stars. Needs jQuery, Bootstrap, LazyLoad, slick and star-rating. */
$(document).ready(function () {
    // Search filter: the chosen item names the field searched (the label is what the search sends).
    $('.search-panel .dropdown-menu a').click(function (e) {
        e.preventDefault();
        $('#search_concept').text($(this).text());
        $('#search_param').val($(this).attr('href').replace('#', ''));
    });

    // Account menu opens on hover and dims the page behind it.
    $('.dropdown').hover(
        function () {
            $(this).find('.login-inner').stop(true, true).fadeIn(200);
            $(this).toggleClass('open', true);
            $('#overlay').show();
        },
        function () {
            $(this).find('.login-inner').stop(true, true).fadeOut(200);
            $(this).toggleClass('open', false);
            $('#overlay').hide();
        });

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
